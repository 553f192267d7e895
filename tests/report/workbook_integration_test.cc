// Opens a produced workbook in two programs that share no code with ours: LibreOffice (headless,
// converting every sheet to CSV, and printing it to PDF to see what a reader sees) and Python's
// openpyxl. Each is skipped when not installed.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <sstream>
#include <vector>

#include "platform/native_path.h"
#include "report/workbook/template_fixture.h"
#include "report/workbook_report.h"

namespace dovrek {
namespace {

using testing::BuiltTemplatePath;
using testing::ReadFileBytes;
using testing::RecordingMessageBox;
using testing::TempDir;

bool Runs(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The Python interpreter that has openpyxl, or empty.
std::string PythonWithOpenpyxl() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    if (Runs(std::string(python) + " -c 'import openpyxl'")) return python;
  }
  return "";
}

std::string WriteSample(const TempDir& dir) {
  SpecificationModel model;
  model.Project = {"在庫管理",       "Zaiko",        "Zaiko.exe", "",  "",
                   "在庫を管理する", "ドブレク商事", "2",         "1", "0"};
  model.FormFiles = {{"frmMain.frm", ""}, {"frmEdit.frm", ""}, {"frmList.frm", ""}};
  model.ModuleFiles = {{"basMain.bas", ""}};
  model.Procedures = {{"Main", "Public", "basMain.bas", "起動する\n", "", ""},
                      {"=HYPERLINK(\"x\")", "Private", "frmMain.frm",
                       "a<&>\"\x01"
                       "b\n" +
                           std::string(40, '\n'),
                       "ByVal n As Long", "Boolean"}};
  std::string path = dir.Native("Zaiko.xlsx");
  SaveToFileHandover handover(path);
  SilentProgressWindow progress;
  EXPECT_TRUE(
      WriteWorkbookReport(model, ToWindowsPath(BuiltTemplatePath()), handover, progress).ok());
  return path;
}

TEST(WorkbookIntegrationTest, LibreOfficeConvertsEverySheet) {
  if (!Runs("command -v soffice")) GTEST_SKIP() << "soffice is not installed";
  TempDir dir;
  std::string book = WriteSample(dir);
  std::string command = "cd '" + dir.path().string() +
                        "' && timeout 120 soffice --headless --norestore " +
                        "-env:UserInstallation=file://" + dir.Native("profile") +
                        " --convert-to 'csv:Text - txt - csv "
                        "(StarCalc):44,34,76,1,,0,false,true,false,false,false,-1'" +
                        " --outdir out Zaiko.xlsx";
  ASSERT_TRUE(Runs(command)) << command;
  std::string cover = ReadFileBytes(dir.Native("out/Zaiko-表紙.csv"));
  EXPECT_NE(cover.find("在庫管理"), std::string::npos) << cover;
  EXPECT_NE(cover.find("Version 2.1.0"), std::string::npos) << cover;
  EXPECT_NE(cover.find("なし"), std::string::npos) << cover;
  std::string files = ReadFileBytes(dir.Native("out/Zaiko-ﾌｧｲﾙ構成.csv"));
  EXPECT_NE(files.find("\"frmMain.frm\nfrmEdit.frm\nfrmList.frm\""), std::string::npos) << files;
  std::string functions = ReadFileBytes(dir.Native("out/Zaiko-関数一覧.csv"));
  EXPECT_NE(functions.find("Main(basMain.bas)"), std::string::npos) << functions;
  EXPECT_NE(functions.find("=HYPERLINK(\"\"x\"\")(frmMain.frm)"), std::string::npos) << functions;
  EXPECT_NE(functions.find("a<&>\"\"\x01"
                           "b\n"),
            std::string::npos)
      << functions;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "out"), {}), 8);
}

constexpr char kOpenpyxlCheck[] = R"(
import sys, openpyxl
from openpyxl.utils.escape import unescape  # this reader leaves _xHHHH_ escapes as stored
wb = openpyxl.load_workbook(sys.argv[1])
assert wb.sheetnames == ['表紙', '改訂履歴', '目次', '処理概要', 'ﾌｧｲﾙ構成', '画面一覧', '備考', '関数一覧'], wb.sheetnames
assert wb.active.title == '表紙', wb.active.title
def named(name):
    (sheet, cell), = wb.defined_names[name].destinations
    return wb[sheet][cell.replace('$', '')]
expected = {'TITLE': '在庫管理', 'VERSION': 'Version 2.1.0', 'COMPANY': 'ドブレク商事', 'NAME': 'Zaiko',
            'EXENAME': 'Zaiko.exe', 'COMMAND': 'なし', 'HELPFILE': 'なし', 'DESCRIPTION': '在庫を管理する',
            'FORM': 'frmMain.frm\nfrmEdit.frm\nfrmList.frm', 'MODULE': 'basMain.bas', 'CLASS': 'なし'}
for name, value in expected.items():
    assert named(name).value == value, (name, named(name).value)
files = wb['ﾌｧｲﾙ構成']
assert files.row_dimensions[5].height == 42, files.row_dimensions[5].height
fl = wb['関数一覧']
b5 = fl['B5']
assert b5.value == 'Main(basMain.bas)\nスコープ　：Public\nパラメータ：\n戻り値　　：\n', repr(b5.value)
assert b5.fill.fgColor.rgb == 'FFBEBEBE', b5.fill.fgColor.rgb
assert b5.font.color.rgb == 'FFFFFFFF', b5.font.color.rgb
assert b5.alignment.wrap_text, 'wrap lost'
assert b5.font.name == 'ＭＳ Ｐゴシック', b5.font.name
assert fl.row_dimensions[5].height == 56 and fl.row_dimensions[7].height == 14
assert fl['B10'].value.startswith('=HYPERLINK("x")(frmMain.frm)') and fl['B10'].data_type == 's', fl['B10'].value
assert unescape(fl['B12'].value) == 'a<&>"\x01b\n' + '\n' * 40, repr(fl['B12'].value)
assert fl.row_dimensions[12].height == 409, fl.row_dimensions[12].height
print('ok')
)";

TEST(WorkbookIntegrationTest, OpenpyxlReadsNamesValuesHeightsAndColours) {
  std::string python = PythonWithOpenpyxl();
  if (python.empty()) GTEST_SKIP() << "python3-openpyxl is not installed";
  TempDir dir;
  std::string book = WriteSample(dir);
  std::string script = dir.Write("check.py", kOpenpyxlCheck);
  std::string command =
      python + " '" + script + "' '" + book + "' > '" + dir.Native("result.txt") + "' 2>&1";
  int status = std::system(command.c_str());
  EXPECT_EQ(status, 0) << ReadFileBytes(dir.Native("result.txt"));
}

// One line of text as poppler places it on a page: the top of its words and their text with
// every space (ASCII or ideographic) left out.
struct PrintedLine {
  int page;
  double top;
  std::string text;
};

std::string WithoutSpaces(std::string text) {
  for (const char* space : {"\u3000", " "}) {
    for (size_t at; (at = text.find(space)) != std::string::npos;) text.erase(at, strlen(space));
  }
  return text;
}

// The lines of `pdftotext -bbox` output, page by page from the top; words sharing a top are one
// line.
std::vector<PrintedLine> PrintedLines(const std::string& bbox_html) {
  static const std::regex item(
      "<page |<word xMin=\"[^\"]*\" yMin=\"([^\"]*)\"[^>]*>([^<]*)</word>");
  std::vector<PrintedLine> lines;
  int page = 0;
  for (std::sregex_iterator it(bbox_html.begin(), bbox_html.end(), item), end; it != end; ++it) {
    if (!(*it)[1].matched) {
      ++page;
      continue;
    }
    double top = std::stod((*it)[1]);
    if (lines.empty() || lines.back().page != page || std::abs(lines.back().top - top) > 0.5) {
      lines.push_back({page, top, ""});
    }
    lines.back().text += WithoutSpaces((*it)[2]);
  }
  return lines;
}

// A cell as the test expects to see it printed: its lines, one row of 14 points a line.
struct ExpectedCell {
  std::vector<std::string> lines;
  double row_height() const { return 14.0 * static_cast<double>(lines.size()); }
};

// Where a cell was found: the top of its first line and the mean advance from line to line
// (0 for a single line), both in points on the page.
struct FoundCell {
  double top = 0;
  double advance = 0;
};

// Finds the cells in order, each after the previous one, as consecutive printed lines; a line
// that is missing or continues on another line (wrapped) fails the search.
std::vector<FoundCell> FindCells(const std::vector<PrintedLine>& printed,
                                 const std::vector<ExpectedCell>& cells) {
  std::vector<FoundCell> found;
  size_t next = 0;
  for (const ExpectedCell& cell : cells) {
    std::string first = WithoutSpaces(cell.lines.front());
    while (next < printed.size() && printed[next].text != first) ++next;
    if (next + cell.lines.size() > printed.size()) {
      ADD_FAILURE() << "not printed: " << cell.lines.front();
      return found;
    }
    for (size_t i = 1; i < cell.lines.size(); ++i) {
      EXPECT_EQ(printed[next + i].text, WithoutSpaces(cell.lines[i])) << "in " << first;
    }
    const PrintedLine& last = printed[next + cell.lines.size() - 1];
    size_t gaps = cell.lines.size() - 1;
    found.push_back({printed[next].top,
                     gaps == 0 ? 0 : (last.top - printed[next].top) / static_cast<double>(gaps)});
    next += cell.lines.size();
  }
  return found;
}

// A line holds whole when its advance, in the sheet's points, leaves room in the 14 points a
// line for the cell's top inset; LibreOffice clips whatever passes the row's bottom.
constexpr double kLargestWholeAdvance = 13.5;

void ExpectWholeLines(const std::vector<ExpectedCell>& cells, const std::vector<FoundCell>& found,
                      double points_per_page_point) {
  for (size_t i = 0; i < found.size(); ++i) {
    EXPECT_LE(found[i].advance * points_per_page_point, kLargestWholeAdvance)
        << "lines of " << cells[i].lines.front() << " advance by more than a row holds";
  }
}

// The lines of a procedure's heading as the function list shows them.
std::vector<std::string> HeadingLines(const ProcedureEntry& p, ReportMode mode) {
  std::vector<std::string> lines = {p.Name + "(" + p.FileName + ")",
                                    "スコープ　：" + ScopeText(p, mode),
                                    "パラメータ：" + p.Parameters, "戻り値　　：" + p.ReturnType};
  if (mode == ReportMode::kComplete) lines.push_back("種別　　：" + p.Kind);
  return lines;
}

// Prints a workbook to PDF through LibreOffice and checks that every line of the file lists and
// of the function list is printed whole: present, unwrapped, and advancing by no more than the
// 14 points a line that the rows are given. With a Japanese Gothic of tall line spacing (as Noto
// Sans CJK JP, which Linux desktops commonly substitute for ＭＳ Ｐゴシック) an 11-point text
// needs about 16 points a line and loses its last line. Complete mode gives five-line headings
// and a further file list.
TEST(WorkbookIntegrationTest, LibreOfficePrintsEveryListAndFunctionLineWhole) {
  if (!Runs("command -v soffice") || !Runs("command -v pdftotext")) {
    GTEST_SKIP() << "soffice or pdftotext is not installed";
  }
  for (ReportMode mode : {ReportMode::kDefault, ReportMode::kComplete}) {
    SCOPED_TRACE(mode == ReportMode::kComplete ? "complete mode" : "default mode");
    TempDir dir;
    SpecificationModel model;
    model.Project.Name = "Legible";
    model.FormFiles = {{"frmAlpha.frm", ""}, {"frm在庫.frm", ""}, {"frmGamma.frm", ""}};
    model.ModuleFiles = {{"basLegible.bas", ""}};
    model.ControlFiles = {{"ctlGrid.ctl", ""}, {"ctl在庫.ctl", ""}};
    model.Procedures = {
        {"Alpha", "Public", "basLegible.bas",
         "一行目の説明です\n二行目の説明です\n三行目の説明です\n", "ByVal n As Long", "Long"},
        {"Beta", "Private", "frmAlpha.frm", "単独の説明行\n", "", ""},
        {"Gamma", "Friend", "basLegible.bas",
         "Gamma の一行目\nGamma second line\nGamma 三行目\nGamma fourth line\nGamma 五行目\n",
         "ByVal s As String, ByRef v As Variant", "String"}};
    const char* kinds[] = {"Function", "Sub", "Property Get"};
    for (size_t i = 0; i < model.Procedures.size(); ++i) model.Procedures[i].Kind = kinds[i];
    model.Procedures[1].Static = true;
    std::vector<ExpectedCell> lists = {{{"frmAlpha.frm", "frm在庫.frm", "frmGamma.frm"}},
                                       {{"basLegible.bas"}}};
    if (mode == ReportMode::kComplete) lists.push_back({{"ctlGrid.ctl", "ctl在庫.ctl"}});
    std::vector<ExpectedCell> functions;
    for (const ProcedureEntry& p : model.Procedures) {
      functions.push_back({HeadingLines(p, mode)});
      ExpectedCell comment;
      std::istringstream comment_lines(p.Comment);
      for (std::string line; std::getline(comment_lines, line);) comment.lines.push_back(line);
      functions.push_back(comment);
    }
    SaveToFileHandover handover(dir.Native("Legible.xlsx"));
    SilentProgressWindow progress;
    ASSERT_TRUE(WriteWorkbookReport(model, ToWindowsPath(BuiltTemplatePath()), handover, progress,
                                    nullptr, mode)
                    .ok());
    std::string command =
        "cd '" + dir.path().string() +
        "' && timeout 120 soffice --headless --norestore -env:UserInstallation=file://" +
        dir.Native("profile") + " --convert-to pdf Legible.xlsx" +
        " && pdftotext -bbox Legible.pdf Legible.html";
    ASSERT_TRUE(Runs(command)) << command;
    std::vector<PrintedLine> printed = PrintedLines(ReadFileBytes(dir.Native("Legible.html")));

    // The file lists: the form list's 42-point row ends where the module list's row begins.
    std::vector<FoundCell> listed = FindCells(printed, lists);
    ASSERT_EQ(listed.size(), lists.size());
    ExpectWholeLines(lists, listed, lists[0].row_height() / (listed[1].top - listed[0].top));

    // The function list: a heading and its comment, then three template rows, to the next
    // heading. Two procedures whose comments differ in length give the page's scale.
    std::vector<FoundCell> listed_functions = FindCells(printed, functions);
    ASSERT_EQ(listed_functions.size(), functions.size());
    auto block = [&](size_t k) {
      return functions[2 * k].row_height() + functions[2 * k + 1].row_height();
    };
    double first_span = listed_functions[2].top - listed_functions[0].top;
    double second_span = listed_functions[4].top - listed_functions[2].top;
    ExpectWholeLines(functions, listed_functions,
                     (block(0) - block(1)) / (first_span - second_span));
  }
}

}  // namespace
}  // namespace dovrek

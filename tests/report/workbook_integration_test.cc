// Opens a produced workbook in two programs that share no code with ours: LibreOffice (headless,
// converting every sheet to CSV, and printing it to PDF to see what a reader sees) and Python's
// openpyxl. Each is skipped when not installed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "os/native_path.h"
#include "workbook/template_fixture.h"
#include "workbook/workbook.h"
#include "report/workbook_report.h"

namespace dovrek {
namespace {

using testing::BuiltTemplatePath;
using testing::CorpusFolder;
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
  model.Files(MemberKind::kForm) = {{"frmMain.frm", ""}, {"frmEdit.frm", ""}, {"frmList.frm", ""}};
  model.Files(MemberKind::kModule) = {{"basMain.bas", ""}};
  model.Procedures = {{"Main", "Public", "basMain.bas", "起動する\n", "", ""},
                      {"=HYPERLINK(\"x\")", "Private", "frmMain.frm",
                       "a<&>\"\x01"
                       "b\n" +
                           std::string(40, '\n'),
                       "ByVal n As Long", "Boolean"}};
  std::string path = dir.Native("Zaiko.xlsx");
  SaveToFileHandover handover(path);
  SilentProgressWindow progress;
  testing::RecordingWarnings warnings;
  EXPECT_TRUE(
      WriteWorkbookReport(model, BuiltTemplatePath(), handover, progress, warnings)
          .ok());
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
# 41 lines: 29 in the first row, the rest in the row below
assert unescape(fl['B12'].value + fl['B13'].value) == 'a<&>"\x01b\n' + '\n' * 40, repr(fl['B12'].value)
assert fl.row_dimensions[12].height == 406 and fl.row_dimensions[13].height == 168
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
  double bottom = 0;
};

std::string WithoutSpaces(std::string text) {
  for (const char* space : {"\u3000", " "}) {
    for (size_t at; (at = text.find(space)) != std::string::npos;) text.erase(at, strlen(space));
  }
  return text;
}

// A word's text with the markup escapes of the bbox file undone.
std::string HtmlText(std::string text) {
  const std::pair<const char*, const char*> escapes[] = {
      {"&quot;", "\""}, {"&apos;", "'"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
  for (const auto& [escaped, plain] : escapes) {
    for (size_t at = 0; (at = text.find(escaped, at)) != std::string::npos; ++at) {
      text.replace(at, strlen(escaped), plain);
    }
  }
  return text;
}

// The lines of `pdftotext -bbox` output, page by page from the top; words sharing a top are one
// line, read from the left.
std::vector<PrintedLine> PrintedLines(const std::string& bbox_html) {
  static const std::regex item(
      "<page |<word xMin=\"([^\"]*)\" yMin=\"([^\"]*)\" xMax=\"[^\"]*\" yMax=\"([^\"]*)\">"
      "([^<]*)</word>");
  struct Word {
    int page;
    double top, left, bottom;
    std::string text;
  };
  std::vector<Word> words;
  int page = 0;
  for (std::sregex_iterator it(bbox_html.begin(), bbox_html.end(), item), end; it != end; ++it) {
    if (!(*it)[1].matched) {
      ++page;
      continue;
    }
    words.push_back({page, std::stod((*it)[2]), std::stod((*it)[1]), std::stod((*it)[3]),
                     WithoutSpaces(HtmlText((*it)[4]))});
  }
  // A word joins the line on its page whose top is within half a point of its own, or starts one.
  std::vector<PrintedLine> lines;
  std::vector<std::vector<const Word*>> line_words;
  for (const Word& word : words) {
    size_t at = lines.size();
    for (size_t k = lines.size(); k-- > 0 && lines[k].page == word.page;) {
      if (std::abs(lines[k].top - word.top) <= 0.5) at = k;
    }
    if (at == lines.size()) {
      lines.push_back({word.page, word.top, "", 0});
      line_words.emplace_back();
    }
    line_words[at].push_back(&word);
  }
  for (size_t k = 0; k < lines.size(); ++k) {
    std::stable_sort(line_words[k].begin(), line_words[k].end(),
                     [](const Word* a, const Word* b) { return a->left < b->left; });
    for (const Word* word : line_words[k]) {
      lines[k].text += word->text;
      lines[k].bottom = std::max(lines[k].bottom, word->bottom);
    }
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
  if (mode == ReportMode::kComplete) lines.push_back("種別　　　：" + p.Kind);
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
    model.Files(MemberKind::kForm) = {{"frmAlpha.frm", ""}, {"frm在庫.frm", ""}, {"frmGamma.frm", ""}};
    model.Files(MemberKind::kModule) = {{"basLegible.bas", ""}};
    model.Files(MemberKind::kControl) = {{"ctlGrid.ctl", ""}, {"ctl在庫.ctl", ""}};
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
    testing::RecordingWarnings warnings;
    ASSERT_TRUE(WriteWorkbookReport(model, BuiltTemplatePath(), handover, progress,
                                    warnings, nullptr, mode)
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

// One cell of the function list as written: its row, height and lines, and whether it is a
// heading; `block` numbers the procedure.
struct ListCell {
  uint32_t row;
  double height;
  std::vector<std::string> lines;
  bool heading;
  int block;
};

std::vector<std::string> CellLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(WithoutSpaces(line));
  return lines;
}

// The cells of the function list, read back block by block: a heading, its description two rows
// below, continued while the next row holds text, the next heading three rows further.
std::vector<ListCell> ListCells(Worksheet& list) {
  std::vector<ListCell> cells;
  int block = 0;
  for (uint32_t row = 5;; ++block) {
    std::string heading = list.Range("B" + std::to_string(row)).Value();
    if (heading.empty()) break;
    cells.push_back({row, list.PrintedRowHeight(row), CellLines(heading), true, block});
    row += 2;
    for (;; ++row) {
      std::string text = list.Range("B" + std::to_string(row)).Value();
      if (!text.empty())
        cells.push_back({row, list.PrintedRowHeight(row), CellLines(text), false, block});
      if (list.Range("B" + std::to_string(row + 1)).Value().empty()) break;
    }
    row += 3;
  }
  return cells;
}

// Where each line of each cell was printed, in order: a line that wraps takes the printed lines
// that together read as it; an empty slot for a line not printed.
std::vector<std::vector<std::vector<const PrintedLine*>>> MatchCells(
    const std::vector<ListCell>& cells, const std::vector<const PrintedLine*>& body) {
  std::vector<std::vector<std::vector<const PrintedLine*>>> found;
  size_t next = 0;
  for (const ListCell& cell : cells) {
    found.emplace_back();
    for (const std::string& line : cell.lines) {
      std::vector<const PrintedLine*> parts;
      for (size_t start = next; line.size() > 0 && start < body.size() && parts.empty(); ++start) {
        std::string read;
        size_t k = start;
        while (k < body.size() && read.size() < line.size() &&
               line.compare(read.size(), body[k]->text.size(), body[k]->text) == 0) {
          read += body[k++]->text;
        }
        if (read == line) {
          parts.assign(body.begin() + static_cast<long>(start), body.begin() + static_cast<long>(k));
          next = k;
        }
      }
      if (!line.empty()) found.back().push_back(parts);
    }
  }
  return found;
}

// The contrast ratio of two ARGB colours ("FF000000"), as the accessibility guidelines define it.
double Contrast(const std::string& a, const std::string& b) {
  auto luminance = [](const std::string& argb) {
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
      double c = std::stoi(argb.substr(2 + 2 * i, 2), nullptr, 16) / 255.0;
      sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
  };
  double x = luminance(a), y = luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// Checks one printed function list: every line of every heading and description printed, inside
// its row (a row's lines may reach no lower than its top plus its height at the page's scale),
// no page opening inside a block that fits a page, and in complete mode legible headings.
void ExpectPrintedWhole(Worksheet& list, const std::string& bbox_html, bool complete) {
  std::vector<PrintedLine> printed = PrintedLines(bbox_html);
  std::vector<int> list_pages;
  for (const PrintedLine& line : printed) {
    if (line.top < 40 && line.text == "関数一覧") list_pages.push_back(line.page);
  }
  ASSERT_FALSE(list_pages.empty());
  std::vector<const PrintedLine*> body;
  static const std::regex page_number("\\d+/\\d+");
  for (int page : list_pages) {
    double below = 0;  // the header row of the print titles ends the titles
    for (const PrintedLine& line : printed) {
      if (line.page == page && line.text == "関数") below = line.bottom;
    }
    for (const PrintedLine& line : printed) {
      if (line.page == page && line.top > below && !std::regex_match(line.text, page_number))
        body.push_back(&line);
    }
  }
  std::vector<ListCell> cells = ListCells(list);
  auto found = MatchCells(cells, body);
  // The page's scale, points on paper a point of the sheet: the median over cells that follow
  // each other on one page of their distance over the rows between them.
  std::vector<double> scales;
  for (size_t i = 0; i + 1 < cells.size(); ++i) {
    if (found[i].empty() || found[i + 1].empty() || found[i][0].empty() ||
        found[i + 1][0].empty() || found[i][0][0]->page != found[i + 1][0][0]->page)
      continue;
    double rows = 0;
    for (uint32_t r = cells[i].row; r < cells[i + 1].row; ++r) rows += list.PrintedRowHeight(r);
    scales.push_back((found[i + 1][0][0]->top - found[i][0][0]->top) / rows);
  }
  ASSERT_FALSE(scales.empty());
  std::nth_element(scales.begin(), scales.begin() + static_cast<long>(scales.size() / 2),
                   scales.end());
  const double scale = scales[scales.size() / 2];
  std::vector<double> block_height;
  std::map<const PrintedLine*, int> block_of;
  for (size_t i = 0; i < cells.size(); ++i) {
    const ListCell& cell = cells[i];
    if (block_height.size() <= static_cast<size_t>(cell.block)) block_height.push_back(0);
    for (uint32_t r = cell.row; r <= cell.row + (cell.heading ? 1 : 0); ++r)
      block_height[static_cast<size_t>(cell.block)] += list.PrintedRowHeight(r);
    const PrintedLine* first = nullptr;
    for (const auto& parts : found[i]) {
      if (parts.empty()) {
        ADD_FAILURE() << "not printed: a line of " << cell.lines.front() << " (row " << cell.row
                      << ")";
        continue;
      }
      if (!first) first = parts.front();
      for (const PrintedLine* part : parts) {
        block_of[part] = cell.block;
        EXPECT_TRUE(part->page == first->page &&
                    part->bottom - first->top <= cell.height * scale + 0.5)
            << "cut: " << part->text << " in row " << cell.row;
      }
    }
  }
  const double page_room = list.PageRowSpace();
  for (size_t p = 1; p < list_pages.size(); ++p) {
    auto opening = std::find_if(body.begin(), body.end(), [&](const PrintedLine* line) {
      return line->page == list_pages[p];
    });
    if (opening == body.end() || !block_of.count(*opening)) continue;
    int block = block_of[*opening];
    auto heading = std::find_if(cells.begin(), cells.end(),
                                [&](const ListCell& c) { return c.block == block; });
    size_t index = static_cast<size_t>(heading - cells.begin());
    bool starts_block = !found[index].empty() && !found[index][0].empty() &&
                        found[index][0][0] == *opening;
    EXPECT_TRUE(starts_block || block_height[static_cast<size_t>(block)] > page_room)
        << "page " << list_pages[p] << " opens inside the block of " << heading->lines.front();
  }
  if (complete) {
    Cell heading = list.Range("B5");
    EXPECT_GE(Contrast(heading.Interior().Color(), heading.Font().Color()), 4.5);
  }
}

// Real projects printed through LibreOffice: Config.vbp of yawase-jp with the comments above each
// procedure (descriptions up to 61 lines) in the default mode, and KBasic.vbp of vb6programs-jp
// (long Declare lines) in complete mode.
TEST(WorkbookIntegrationTest, LibreOfficePrintsEveryProcedureOfRealProjectsWhole) {
  if (CorpusFolder().empty()) GTEST_SKIP() << "no corpus";
  if (!Runs("command -v soffice") || !Runs("command -v pdftotext")) {
    GTEST_SKIP() << "soffice or pdftotext is not installed";
  }
  struct Printed {
    const char* project;
    const char* options;
    bool complete;
  } books[] = {{"yawase-jp/Yawase/Config/Config.vbp", "--func --no-complete", false},
               {"vb6programs-jp/src/KBasic/KBasic.vbp", "--complete", true}};
  TempDir dir;
  std::string names;
  for (size_t i = 0; i < std::size(books); ++i) {
    std::string book = "book" + std::to_string(i) + ".xlsx";
    std::string command = "HOME='" + dir.path().string() + "' '" DOVREK_BINARY "' -q " +
                          books[i].options + " -x '" + dir.Native(book) + "' '" + CorpusFolder() +
                          "/" + books[i].project + "'";
    ASSERT_TRUE(Runs(command)) << command;
    names += " " + book;
  }
  std::string command = "cd '" + dir.path().string() +
                        "' && timeout 300 soffice --headless --norestore -env:UserInstallation=file://" +
                        dir.Native("profile") + " --convert-to pdf" + names;
  ASSERT_TRUE(Runs(command)) << command;
  for (size_t i = 0; i < std::size(books); ++i) {
    SCOPED_TRACE(books[i].project);
    std::string stem = dir.Native("book" + std::to_string(i));
    ASSERT_TRUE(Runs("pdftotext -bbox '" + stem + ".pdf' '" + stem + ".html'"));
    auto book = Workbook::Open(stem + ".xlsx");
    ExpectPrintedWhole(book->Worksheets(8), ReadFileBytes(stem + ".html"), books[i].complete);
  }
}

}  // namespace
}  // namespace dovrek

namespace dovrek {
namespace {

// A real project's screens printed through LibreOffice: each screen sheet prints, holding its
// picture (one image in the PDF per screen).
TEST(WorkbookIntegrationTest, LibreOfficePrintsEveryScreenWithItsPicture) {
  if (CorpusFolder().empty()) GTEST_SKIP() << "no corpus";
  if (!Runs("command -v soffice") || !Runs("command -v pdfimages")) {
    GTEST_SKIP() << "soffice or pdfimages is not installed";
  }
  TempDir dir;
  const std::string book = dir.Native("book.xlsx");
  std::string command = "HOME='" + dir.path().string() + "' '" DOVREK_BINARY "' -q --complete -x '" +
                        book + "' '" + CorpusFolder() + "/yawase-jp/Yawase/DT041/Dt041.vbp'";
  ASSERT_TRUE(Runs(command)) << command;
  command = "cd '" + dir.path().string() +
            "' && timeout 300 soffice --headless --norestore -env:UserInstallation=file://" +
            dir.Native("profile") + " --convert-to pdf book.xlsx";
  ASSERT_TRUE(Runs(command)) << command;
  ASSERT_TRUE(Runs("pdfimages -list '" + dir.Native("book.pdf") + "' > '" + dir.Native("images") +
                   "' && pdftotext '" + dir.Native("book.pdf") + "' '" + dir.Native("book.txt") + "'"));
  std::istringstream images(ReadFileBytes(dir.Native("images")));
  int printed = -2;  // the list's two heading lines
  for (std::string line; std::getline(images, line);) ++printed;
  auto opened = Workbook::Open(book);
  const int screens = opened->WorksheetCount() - 8;
  EXPECT_EQ(screens, 3);
  EXPECT_EQ(printed, screens);
  const std::string text = ReadFileBytes(dir.Native("book.txt"));
  for (int sheet = 9; sheet <= opened->WorksheetCount(); ++sheet) {
    EXPECT_NE(text.find(opened->Worksheets(sheet).Name() + "（"), std::string::npos)
        << opened->Worksheets(sheet).Name();
  }
}

}  // namespace
}  // namespace dovrek

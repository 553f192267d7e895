#include "report/workbook_report.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "os/native_path.h"
#include "os/replacing_file.h"
#include "workbook/cell_text.h"
#include "workbook/template_fixture.h"
#include "workbook/workbook.h"

namespace dovrek {
namespace {

using testing::BuiltTemplatePath;
using testing::ReadFileBytes;
using testing::RecordingMessageBox;
using testing::RecordingProgressWindow;
using testing::TempDir;
using testing::TemplateVariant;

constexpr char kHeadingFill[] = "FFBEBEBE";
constexpr char kWhite[] = "FFFFFFFF";

// Saves into a fixed file and remembers what it was given.
class FileHandover : public WorkbookHandover {
 public:
  explicit FileHandover(std::string path, bool fail = false)
      : path_(std::move(path)), fail_(fail) {}
  Status HandOver(const WorkbookSaver& save, const std::string& project_name) override {
    ++calls;
    name = project_name;
    if (fail_) return Status::Error("保存できません。");
    return save(path_, nullptr);
  }
  int calls = 0;
  std::string name;

 private:
  std::string path_;
  bool fail_;
};

class WorkbookReportTest : public ::testing::Test {
 protected:
  // Runs the writer over the model with the given template; answers the produced workbook or
  // nullptr when the writer answered false.
  std::unique_ptr<Workbook> Write(const SpecificationModel& model,
                                  const std::string& template_path = BuiltTemplatePath(),
                                  ReportMode mode = ReportMode::kDefault) {
    FileHandover handover(dir.Native("spec.xlsx"));
    status = WriteWorkbookReport(model, template_path, handover, progress, warnings,
                                 nullptr, mode);
    handovers = handover.calls;
    return status.ok() ? Workbook::Open(dir.Native("spec.xlsx")) : nullptr;
  }

  static SpecificationModel Sample() {
    SpecificationModel model;
    model.Project = {"販売管理",         "Hanbai",       "Hanbai.exe", "/debug", "hanbai.hlp",
                     "販売管理システム", "ドブレク商事", "1",          "0",      "5"};
    return model;
  }

  // A project as complete mode reads it: a Friend property, a Static Sub and the four further
  // component lists, two of them empty.
  static SpecificationModel CompleteSample() {
    SpecificationModel model = Sample();
    ProcedureEntry value{"Value", "Friend", "clsItem.cls", "", "", "Long"};
    value.Kind = "Property Get";
    ProcedureEntry count{"Count", "Private", "basMain.bas", "", "n As Long", ""};
    count.Kind = "Sub";
    count.Static = true;
    model.Procedures = {value, count};
    model.Files(MemberKind::kControl) = {{"ctlA.ctl", ""}, {"ctlB.ctl", ""}};
    model.Files(MemberKind::kDocument) = {{"docMain.dob", ""}};
    return model;
  }

  TempDir dir;
  RecordingProgressWindow progress;
  testing::RecordingWarnings warnings;
  Status status;
  int handovers = 0;
};

TEST_F(WorkbookReportTest, WritesCoverOverviewAndNamesTheSheets) {
  auto book = Write(Sample());
  ASSERT_TRUE(book) << status.message();
  const char* names[] = {"表紙",     "改訂履歴", "目次", "処理概要",
                         "ﾌｧｲﾙ構成", "画面一覧", "備考", "関数一覧"};
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(book->Worksheets(i).Name(), names[i - 1]);
  Worksheet& cover = book->Worksheets(1);
  const std::pair<const char*, const char*> values[] = {
      {"TITLE", "販売管理"},     {"VERSION", "Version 1.0.5"}, {"COMPANY", "ドブレク商事"},
      {"NAME", "Hanbai"},        {"EXENAME", "Hanbai.exe"},    {"COMMAND", "/debug"},
      {"HELPFILE", "hanbai.hlp"}};
  for (const auto& [name, value] : values) EXPECT_EQ(cover.Range(name).Value(), value) << name;
  EXPECT_EQ(book->Worksheets(4).Range("DESCRIPTION").Value(), "販売管理システム");
  for (const char* list : {"FORM", "MODULE", "CLASS"}) {
    EXPECT_EQ(book->Worksheets(5).Range(list).Value(), "なし");
    EXPECT_EQ(book->Worksheets(5).Range(list).RowHeight(), 20);  // the template's height
  }
  EXPECT_EQ(book->Worksheets(8).Range("B5").Value(), "");
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"Load", "Unload"}));
  EXPECT_TRUE(status.ok());
  std::string workbook_xml = *ZipPackage::Read(dir.Native("spec.xlsx")).Find("xl/workbook.xml");
  EXPECT_NE(workbook_xml.find("activeTab=\"0\""), std::string::npos);
}

TEST_F(WorkbookReportTest, EmptyFieldsStayEmptyButCommandAndHelpFile) {
  auto book = Write(SpecificationModel{});
  ASSERT_TRUE(book);
  Worksheet& cover = book->Worksheets(1);
  for (const char* name : {"TITLE", "COMPANY", "NAME", "EXENAME"})
    EXPECT_EQ(cover.Range(name).Value(), "") << name;
  EXPECT_EQ(cover.Range("VERSION").Value(), "Version ..");
  EXPECT_EQ(cover.Range("COMMAND").Value(), "なし");
  EXPECT_EQ(cover.Range("HELPFILE").Value(), "なし");
  EXPECT_EQ(book->Worksheets(4).Range("DESCRIPTION").Value(), "");
}

TEST_F(WorkbookReportTest, ListsFilesOnePerLineWithMatchingHeight) {
  SpecificationModel model = Sample();
  model.Files(MemberKind::kForm) = {{"frmA.frm", ""}, {"frmB.frm", ".."}, {"frmC.frm", ""}};
  model.Files(MemberKind::kClass) = {{"clsLog.cls", "..\\Common"}};
  auto book = Write(model);
  ASSERT_TRUE(book);
  Worksheet& files = book->Worksheets(5);
  EXPECT_EQ(files.Range("FORM").Value(), "frmA.frm\nfrmB.frm\nfrmC.frm");
  EXPECT_EQ(files.Range("FORM").RowHeight(), 42);
  EXPECT_EQ(files.Range("MODULE").Value(), "なし");
  EXPECT_EQ(files.Range("MODULE").RowHeight(), 20);
  EXPECT_EQ(files.Range("CLASS").Value(), "clsLog.cls");
  EXPECT_EQ(files.Range("CLASS").RowHeight(), 14);
}

TEST_F(WorkbookReportTest, WritesOneBlockPerProcedure) {
  SpecificationModel model = Sample();
  model.Procedures = {
      {"Init", "Public", "basMain.bas", "初期化する\n", "", ""},
      {"Calc", "Private", "clsCalc.cls", "", "ByVal a As Long,\nByVal b As Long", "Long"}};
  auto book = Write(model);
  ASSERT_TRUE(book);
  Worksheet& list = book->Worksheets(8);
  Cell first = list.Range("B5");
  EXPECT_EQ(first.Value(), "Init(basMain.bas)\nスコープ　：Public\nパラメータ：\n戻り値　　：\n");
  EXPECT_EQ(first.RowHeight(), 56);
  EXPECT_EQ(first.Interior().Color(), kHeadingFill);
  EXPECT_EQ(first.Font().Color(), kWhite);
  EXPECT_EQ(list.Range("B7").Value(), "初期化する\n");
  EXPECT_EQ(list.Range("B7").RowHeight(), 14);
  for (const char* untouched : {"B6", "B8", "B9", "A5", "C5"})
    EXPECT_EQ(list.Range(untouched).Value(), "") << untouched;
  Cell second = list.Range("B10");
  EXPECT_EQ(second.Value(),
            "Calc(clsCalc.cls)\nスコープ　：Private\nパラメータ：ByVal a As Long,\nByVal b As "
            "Long\n戻り値　　：Long\n");
  EXPECT_EQ(second.RowHeight(), 70);
  EXPECT_EQ(second.Interior().Color(), kHeadingFill);
  EXPECT_EQ(list.Range("B12").Value(), "");
  EXPECT_EQ(list.Range("B12").RowHeight(), 0);  // an empty comment asks for 0
  EXPECT_EQ(list.Range("B15").Value(), "");
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"Load", "Init 1 関数一覧を出力しています…",
                                                      "Progress 0", "Progress 1", "Unload"}));
}

// The built template without the names only complete mode fills (lists, creation date, pages).
std::string TemplateWithoutOptionalNames(const TempDir& dir) {
  std::vector<testing::TemplateEdit> edits;
  const char* names[] = {"CONTROL", "PAGE", "DOCUMENT", "DESIGNER"};
  for (int i = 0; i < 4; ++i) {
    std::string row = std::to_string(8 + i);
    std::string cell = "'ファイル構成'!$C$" + row;
    edits.push_back(
        {"xl/workbook.xml",
         std::string("<definedName name=\"") + names[i] + "\">" + cell + "</definedName>", ""});
    std::string sheet = *ZipPackage::Read(BuiltTemplatePath()).Find("xl/worksheets/sheet5.xml");
    size_t from = sheet.find("<row r=\"" + row + "\"");
    size_t to = sheet.find("</row>", from) + 6;
    edits.push_back({"xl/worksheets/sheet5.xml", sheet.substr(from, to - from), ""});
  }
  edits.push_back(
      {"xl/workbook.xml", "<definedName name=\"CREATED\">'表紙'!$C$13</definedName>", ""});
  edits.push_back(
      {"xl/workbook.xml", "<definedName name=\"CONTENTS_PAGE\">'目次'!$E$5</definedName>", ""});
  return TemplateVariant(dir, "plain.xlt", edits);
}

TEST_F(WorkbookReportTest, CompleteModeAddsTheKindAndTheComponentLists) {
  ::setenv("SOURCE_DATE_EPOCH", "1767571200", 1);  // 2026-01-05 00:00 UTC
  auto book = Write(CompleteSample(), BuiltTemplatePath(), ReportMode::kComplete);
  ::unsetenv("SOURCE_DATE_EPOCH");
  ASSERT_TRUE(book) << status.message();
  EXPECT_EQ(book->Worksheets(1).Range("CREATED").Value(), "2026年1月5日");
  // Every sheet prints on one page here: the contents give pages 1 to 8.
  for (int sheet = 1; sheet <= 8; ++sheet) {
    EXPECT_EQ(book->Worksheets(3).Range("E" + std::to_string(4 + sheet)).Value(),
              std::to_string(sheet));
  }
  Worksheet& list = book->Worksheets(8);
  EXPECT_EQ(list.Range("B5").Interior().Color(), "FFD9D9D9");
  EXPECT_EQ(list.Range("B5").Font().Color(), "FF000000");
  EXPECT_EQ(
      list.Range("B5").Value(),
      "Value(clsItem.cls)\nスコープ　：Friend\nパラメータ：\n戻り値　　：Long\n種別　　　：Property "
      "Get\n");
  EXPECT_EQ(list.Range("B5").RowHeight(), 70);
  EXPECT_EQ(
      list.Range("B10").Value(),
      "Count(basMain.bas)\nスコープ　：Private Static\nパラメータ：n As Long\n戻り値　　：\n種別"
      "　　　：Sub\n");
  const std::tuple<const char*, const char*, double> lists[] = {
      {"CONTROL", "ctlA.ctl\nctlB.ctl", 28},
      {"PAGE", "なし", 20},
      {"DOCUMENT", "docMain.dob", 14},
      {"DESIGNER", "なし", 20}};
  for (const auto& [name, value, height] : lists) {
    EXPECT_EQ(book->Worksheets(5).Range(name).Value(), value) << name;
    EXPECT_EQ(book->Worksheets(5).Range(name).RowHeight(), height) << name;
  }
}

TEST_F(WorkbookReportTest, CompleteModeNamesAreOptionalAndDefaultModeDropsThem) {
  std::string plain = TemplateWithoutOptionalNames(dir);
  auto complete = Write(CompleteSample(), plain, ReportMode::kComplete);
  ASSERT_TRUE(complete) << status.message();
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(complete->Worksheets(5).Range("C8").Value(), "");
  // Default mode gives, from our template, what a template without the names gives.
  ASSERT_TRUE(Write(CompleteSample(), plain));
  std::string from_plain = ReadFileBytes(dir.Native("spec.xlsx"));
  ASSERT_TRUE(Write(CompleteSample()));
  EXPECT_TRUE(ReadFileBytes(dir.Native("spec.xlsx")) == from_plain);
  // A name beside a required list leaves that row alone.
  std::string beside = TemplateVariant(dir, "beside.xlt", "xl/workbook.xml", "'ファイル構成'!$C$8",
                                       "'ファイル構成'!$D$5");
  auto book = Write(CompleteSample(), beside);
  ASSERT_TRUE(book);
  EXPECT_EQ(book->Worksheets(5).Range("B5").Value(), "フォーム");
  EXPECT_EQ(book->Worksheets(5).Range("FORM").Value(), "なし");
}

// n numbered lines, each ended by a line feed.
std::string Lines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "行" + std::to_string(i) + "\n";
  return text;
}

// The rows a manual page break starts a page with, from the saved function list.
std::vector<uint32_t> PageStarts(const std::string& book_path) {
  std::string sheet = *ZipPackage::Read(book_path).Find("xl/worksheets/sheet8.xml");
  std::vector<uint32_t> rows;
  for (size_t at = 0; (at = sheet.find("<brk id=\"", at)) != std::string::npos; ++at) {
    rows.push_back(static_cast<uint32_t>(std::stoul(sheet.substr(at + 9))) + 1);
  }
  return rows;
}

// Procedure A (one line) then B (the case's) then C (one line). Descriptions continue 29 lines
// a row; a heading is as tall as its wrapped lines; a block that would be split starts a page
// with the two rows before its heading, so does one taller than a page, and so does the block
// after that. `page_lines` is the most lines of description a block of one page holds (the two
// rows before, heading 56, the row between 13.5, then 14 a line).
TEST_F(WorkbookReportTest, LongBlocksContinueWrapAndStartPagesWhereTheyWouldSplit) {
  const double space = Workbook::Open(BuiltTemplatePath())->Worksheets(8).PageRowSpace();
  const int page_lines = static_cast<int>((space - 27 - 56 - 13.5) / 14);
  struct Case {
    const char* name;
    int lines;  // of B's description; page_lines + this when `from_page`
    bool from_page;
    std::string parameters;
    double heading;                    // B's heading height
    std::vector<double> descriptions;  // B's description rows, unless `from_page`
    std::vector<char> page_starts;     // the procedures a manual break starts a page with
    int pages;
  } cases[] = {
      {"fits a row", 29, false, "", 56, {406}, {}, 1},
      {"one line more", 30, false, "", 56, {406, 14}, {}, 1},
      {"taller than a page", 61, false, "", 56, {406, 406, 42}, {'B', 'C'}, 4},
      {"no line feed", 0, false, "", 56, {0}, {}, 1},
      {"parameters that fit", 1, false, std::string(100, 'x'), 56, {14}, {}, 1},
      {"parameters that wrap", 1, false, std::string(115, 'x'), 70, {14}, {}, 1},
      {"words wrap whole", 1, false, std::string(105, 'x') + " " + std::string(10, 'y'), 70, {14},
       {}, 1},
      {"a page exactly", 0, true, "", 56, {}, {'B', 'C'}, 3},
      {"a page and a line", 1, true, "", 56, {}, {'B', 'C'}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int lines = c.from_page ? page_lines + c.lines : c.lines;
    std::string comment = c.name == std::string("no line feed") ? "feedless" : Lines(lines);
    SpecificationModel model;
    model.Procedures = {{"A", "Public", "m.bas", Lines(1), "", ""},
                        {"B", "Public", "m.bas", comment, c.parameters, ""},
                        {"C", "Public", "m.bas", Lines(1), "", ""}};
    auto book = Write(model);
    ASSERT_TRUE(book) << status.message();
    Worksheet& list = book->Worksheets(8);
    const uint32_t b = 10;
    EXPECT_EQ(list.Range("B" + std::to_string(b)).RowHeight(), c.heading);
    std::string kept;
    uint32_t row = b + 2;
    std::vector<double> expected = c.descriptions;
    if (c.from_page) {
      for (int left = lines; left > 0; left -= 29) expected.push_back(std::min(left, 29) * 14.0);
    }
    for (double height : expected) {
      Cell cell = list.Range("B" + std::to_string(row++));
      EXPECT_EQ(cell.RowHeight(), height) << cell.reference().row;
      kept += cell.Value();
    }
    EXPECT_EQ(kept, comment);
    const uint32_t c_row = row + 2;
    EXPECT_EQ(list.Range("B" + std::to_string(c_row)).Value().substr(0, 2), "C(");
    std::vector<uint32_t> starts;
    for (char name : c.page_starts) starts.push_back((name == 'B' ? b : c_row) - 2);
    EXPECT_EQ(PageStarts(dir.Native("spec.xlsx")), starts);
    EXPECT_EQ(list.PrintedPages(), c.pages);
  }
}

TEST_F(WorkbookReportTest, ACutHeadingIsAsTallAsTheLinesItKeeps) {
  SpecificationModel model;
  std::string parameters = std::string(kMaxCellCharacters, 'x') + std::string(30, '\n');
  model.Procedures = {{"P", "Public", "m.bas", "", parameters, ""}};
  auto book = Write(model);
  ASSERT_TRUE(book);
  // Kept: the name, the scope and the start of the parameters, which wraps into more lines than
  // the tallest row shows.
  EXPECT_EQ(book->Worksheets(8).Range("B5").RowHeight(), 409);
}

TEST_F(WorkbookReportTest, HostileTextStaysTextAndIsCutToTheCellLimit) {
  SpecificationModel model = Sample();
  model.Project.Title = "=HYPERLINK(\"http://example.com\",\"x\")";
  model.Project.Command32 = "@SUM(1) <&>\"";
  model.Procedures = {{"<&>\"", "Public", "a\x01.bas",
                       "\x0B"
                       "制御\x1F文字 _x0041_\n",
                       "", ""},
                      {"Long", "Public", "b.bas", std::string(40000, 'x'), "", ""}};
  auto book = Write(model);
  ASSERT_TRUE(book);
  EXPECT_EQ(book->Worksheets(1).Range("TITLE").Value(), model.Project.Title);
  EXPECT_EQ(book->Worksheets(1).Range("COMMAND").Value(), model.Project.Command32);
  EXPECT_EQ(book->Worksheets(8).Range("B5").Value(),
            "<&>\"(a\x01.bas)\nスコープ　：Public\nパラメータ：\n戻り値　　：\n");
  EXPECT_EQ(book->Worksheets(8).Range("B7").Value(), model.Procedures[0].Comment);
  EXPECT_EQ(book->Worksheets(8).Range("B12").Value(), std::string(32767, 'x'));
  std::string sheet = *ZipPackage::Read(dir.Native("spec.xlsx")).Find("xl/worksheets/sheet1.xml");
  EXPECT_EQ(sheet.find("<f>"), std::string::npos);
}

TEST_F(WorkbookReportTest, MoreProceduresThanOneSheetHoldsFailBeforeAnythingIsWritten) {
  SpecificationModel model = Sample();
  model.Procedures.resize(209715);  // the last description would lie below row 1048576
  EXPECT_FALSE(Write(model));
  EXPECT_EQ(status.message(),
            "関数の数（209715 個）が 1 枚のワークシートに収まりません。"
            "関数一覧に書けるのは 209714 個までです。");
  EXPECT_FALSE(status.IsNotFound());
  EXPECT_TRUE(progress.calls.empty());
  EXPECT_EQ(handovers, 0);
}

TEST_F(WorkbookReportTest, MissingTemplateOnlyCautions) {
  EXPECT_FALSE(Write(Sample(), dir.Native("Dovrek.xlt")));
  EXPECT_TRUE(status.IsNotFound());
  EXPECT_EQ(status.message(), "XLT ファイルが存在しません。");
  EXPECT_TRUE(progress.calls.empty());
  EXPECT_EQ(handovers, 0);
  std::filesystem::create_directory(dir.path() / "folder.xlt");
  EXPECT_FALSE(Write(Sample(), dir.Native("folder.xlt")));
  EXPECT_TRUE(progress.calls.empty());
  // Nor are the screens' pictures drawn for a workbook that cannot be made.
  SpecificationModel described = Sample();
  described.ScreensDescribed = true;
  int drawn = 0;
  const std::vector<std::string> none;
  FileHandover handover(dir.Native("spec.xlsx"));
  EXPECT_TRUE(WriteWorkbookReport(described, dir.Native("Dovrek.xlt"), handover,
                                  progress, warnings, nullptr, ReportMode::kComplete,
                                  [&]() -> const std::vector<std::string>& {
                                    ++drawn;
                                    return none;
                                  })
                  .IsNotFound());
  EXPECT_EQ(drawn, 0);
}

TEST_F(WorkbookReportTest, UnusableTemplatesFailNamingWhatIsMissing) {
  struct Case {
    const char* name;
    std::string path;
    const char* expected;
  } cases[] = {
      {"seven sheets",
       TemplateVariant(dir, "seven.xlt", "xl/workbook.xml",
                       "<sheet name=\"関数一覧\" sheetId=\"8\" r:id=\"rId8\"/>", ""),
       "7 枚"},
      {"no HELPFILE",
       TemplateVariant(dir, "nohelp.xlt", "xl/workbook.xml", "name=\"HELPFILE\"", "name=\"HELP\""),
       "HELPFILE"},
      {"no CLASS",
       TemplateVariant(dir, "noclass.xlt", "xl/workbook.xml", "name=\"CLASS\"", "name=\"KLASSE\""),
       "CLASS"},
      {"name elsewhere",
       TemplateVariant(dir, "elsewhere.xlt", "xl/workbook.xml", "'処理概要'!$B$5", "'表紙'!$B$5"),
       "DESCRIPTION"},
      {"name of a range",
       TemplateVariant(dir, "range.xlt", "xl/workbook.xml", "'表紙'!$C$5", "'表紙'!$C$5:$C$6"),
       "TITLE"},
      {"legacy",
       dir.Write("legacy.xlt",
                 std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0')),
       "旧形式"},
  };
  for (const Case& c : cases) {
    progress.calls.clear();
    EXPECT_FALSE(Write(Sample(), c.path)) << c.name;
    EXPECT_FALSE(status.IsNotFound()) << c.name;
    EXPECT_NE(status.message().find(c.expected), std::string::npos)
        << c.name << ": " << status.message();
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"Load", "Unload"})) << c.name;
    EXPECT_EQ(handovers, 0) << c.name;
  }
}

// A template fault is named for its cause and names the template.
TEST_F(WorkbookReportTest, TemplateFaultsNameTheTemplateAndTheCause) {
  ZipPackage crowded = ZipPackage::Read(BuiltTemplatePath());
  const size_t parts = crowded.parts().size();
  for (size_t i = parts; i <= kMaxParts; ++i) crowded.Put("x/" + std::to_string(i), "");
  struct Case {
    const char* name;
    std::string path;
    std::string expected;  // after the template's path
  } cases[] = {
      {"sheets in another order",
       TemplateVariant(
           dir, "swapped.xlt",
           {{"xl/workbook.xml", "name=\"表紙\" sheetId=\"1\"", "name=\"処理概要\" sheetId=\"1\""},
            {"xl/workbook.xml", "name=\"処理概要\" sheetId=\"4\"", "name=\"表紙\" sheetId=\"4\""}}),
       ": シート 1 に名前「表紙」を付けられません。テンプレートのシート 4 が既にその名前です "
       "(シートの順序が違います)。"},
      {"too many entries", dir.Write("crowded.xlt", crowded.ToBytes()),
       ": テンプレートの項目が多すぎます (10001 個。使えるのは 10000 個までです)。"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Write(Sample(), c.path)) << c.name;
    EXPECT_EQ(status.message(), c.path + c.expected) << c.name;
  }
}

// Entries whose names lead out of the package are left out of the workbook with a warning that
// names the template and the entry; the run succeeds.
TEST_F(WorkbookReportTest, EntriesNamedOutsideThePackageAreDropped) {
  ZipPackage package = ZipPackage::Read(BuiltTemplatePath());
  const char* outside[] = {"../evil.txt", "xl/../../up.txt", "/etc/abs.txt", "\\\\server\\x"};
  for (const char* name : outside) package.Put(name, "x");
  package.Put("xl/media/..name.txt", "kept");
  std::string path = dir.Write("climbing.xlt", package.ToBytes());
  std::unique_ptr<Workbook> book = Write(Sample(), path);
  ASSERT_TRUE(book) << status.message();
  ZipPackage written = ZipPackage::Read(dir.Native("spec.xlsx"));
  std::vector<std::string> expected;
  for (const char* name : outside) {
    EXPECT_EQ(written.Find(name), nullptr) << name;
    expected.push_back("警告: " + path + ": テンプレートの項目「" + name +
                       "」はパッケージの外を指す名前のため、ワークブックに入れませんでした。");
  }
  EXPECT_NE(written.Find("xl/media/..name.txt"), nullptr);
  EXPECT_EQ(warnings.warnings, expected);
}

TEST_F(WorkbookReportTest, FailedHandoverIsReported) {
  FileHandover failing(dir.Native("x.xlsx"), true);
  status = WriteWorkbookReport(Sample(), BuiltTemplatePath(), failing, progress, warnings);
  EXPECT_EQ(failing.name, "Hanbai");
  EXPECT_EQ(status.message(), "保存できません。");
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"Load", "Unload"}));
  FileHandover unwritable(dir.Native("no/such/folder/x.xlsx"));
  status = WriteWorkbookReport(Sample(), BuiltTemplatePath(), unwritable, progress, warnings);
  EXPECT_NE(status.message().find("no/such/folder: "), std::string::npos) << status.message();
}

}  // namespace
}  // namespace dovrek

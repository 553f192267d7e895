#include "source/module_scanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <regex>
#include <vector>

#include "os/native_path.h"
#include "codepage/text_codec.h"
#include "test_support.h"

namespace dovrek {

void PrintTo(const ProcedureEntry& e, std::ostream* os) {
  *os << "{" << e.Scope << " " << e.Name << "(" << e.Parameters << ") As [" << e.ReturnType
      << "] in " << e.FileName << ", comment [" << e.Comment << "]}";
}

namespace {

using ::testing::ElementsAre;
using Lines = std::vector<std::string>;

constexpr char kModuleHeader[] = "Attribute VB_Name = \"basX\"";

ProcedureEntry Proc(std::string scope, std::string name, std::string parameters = "",
                    std::string return_type = "", std::string comment = "") {
  return {std::move(name),    std::move(scope),      "basX.bas",
          std::move(comment), std::move(parameters), std::move(return_type)};
}

Options Flags(bool cmt, bool func, bool trim) {
  Options options;
  options.Cmt = CheckStateOf(cmt);
  options.Func = CheckStateOf(func);
  options.Trim = CheckStateOf(trim);
  return options;
}

struct Scan {
  bool ok = true;
  std::string error;
  SpecificationModel model;
};

// Feeds the lines as they stand, as the file basX.bas.
Scan ScanLines(const Lines& lines, const Options& options = {}, SpecificationModel model = {}) {
  Scan scan;
  scan.model = std::move(model);
  ModuleScanner scanner(options, &scan.model);
  scanner.Start(SourcePath::Locate("C:\\app\\basX.bas"));
  for (const std::string& line : lines) {
    if (Status scanned = scanner.ScanLine(line); !scanned.ok()) {
      scan.ok = false;
      scan.error = scanned.message();
      return scan;
    }
  }
  scanner.Finish();
  return scan;
}

// Feeds a standard module: its attribute line, then the given lines.
Scan ScanModule(Lines lines, const Options& options = {}) {
  lines.insert(lines.begin(), kModuleHeader);
  return ScanLines(lines, options);
}

TEST(ModuleScannerTest, RecognisesTheHeadTableExactly) {
  struct Case {
    std::string line;
    std::vector<ProcedureEntry> entries;
  } cases[] = {
      {"Public Function F() As Long", {Proc("Public", "F", "", "Long")}},
      {"Private Function F(a) As Long", {Proc("Private", "F", "a", "Long")}},
      {"Function F() As Long", {Proc("Public", "F", "", "Long")}},
      {"Public Sub S()", {Proc("Public", "S")}},
      {"Private Sub Form_Load()", {Proc("Private", "Form_Load")}},
      {"Sub Main()", {Proc("Public", "Main")}},
      // The character after the head words is dropped; a non-ASCII one continues the word.
      {"Sub\u3000Main()", {}},
      // The head words must end a word: a tab or a "(" may follow them, a name character not.
      {"Public Sub\tB()", {Proc("Public", "B")}},
      {"Sub", {}},
      {"Public Subtotal(3) As Long", {}},
      {"Private Subject As String", {}},
      {"Private Functions(3) As Long", {}},
      {"Sub_Main()", {}},
      {"FunctionError:", {}},
      {"SubTitle = \"x (y)\"", {}},
      {"Sub合計()", {}},
      // Indented, other letter case, or not a Sub or Function of our kinds.
      {"  Sub Main()", {}},
      {"public sub Main()", {}},
      {"Public Property Get Value() As Long", {}},
      {"Friend Function Peek() As Long", {}},
      {"Public Static Sub Count()", {}},
      {"Private Static Function Count() As Long", {}},
      {"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", {}},
      {"Public Event Changed(ByVal value As Long)", {}},
      {"' Sub Main()", {}},
  };
  for (const Case& c : cases) {
    Scan scan = ScanModule({c.line});
    EXPECT_TRUE(scan.ok) << c.line << ": " << scan.error;
    EXPECT_EQ(scan.model.Procedures, c.entries) << c.line;
  }
}

TEST(ModuleScannerTest, JoinsContinuedHeads) {
  struct Case {
    Lines lines;
    ProcedureEntry entry;
  } cases[] = {
      {{"Public Function Calc(ByVal a As Long, _", "    ByVal b As Long) As Long"},
       Proc("Public", "Calc", "ByVal a As Long,ByVal b As Long", "Long")},
      {{"Public Function Calc(ByVal a As Long, _", "   ByVal b As Long) As Long"},
       Proc("Public", "Calc", "ByVal a As Long, ByVal b As Long", "Long")},
      {{"Public Sub Show _", "    (ByVal n As Long)"}, Proc("Public", "Show", "ByVal n As Long")},
      {{"Function F(ByVal s As String) _", "    As String()"},
       Proc("Public", "F", "ByVal s As String", "String()")},
      {{"Private Function F( _", "    a As Long, _", "    b As Long _", "    ) As Long"},
       Proc("Private", "F", "a As Long,b As Long", "Long")},
      {{"Private Sub TimerProc( _", "    ByVal hwnd As Long _", ")"},
       Proc("Private", "TimerProc", "ByVal hwnd As Long")},
      {{"Private Sub Paint(ByVal a As Long, _", "ByVal b As Long)"},
       Proc("Private", "Paint", "ByVal a As Long, ByVal b As Long")},
  };
  for (const Case& c : cases) {
    Scan scan = ScanModule(c.lines);
    EXPECT_TRUE(scan.ok) << scan.error;
    EXPECT_THAT(scan.model.Procedures, ElementsAre(c.entry)) << c.lines[0];
  }
}

TEST(ModuleScannerTest, AnalysesOnlyAfterTheFirstRunOfAttributeLines) {
  struct Case {
    const char* what;
    Lines lines;
    std::vector<ProcedureEntry> entries;
  } cases[] = {
      {"standard module",
       {"Attribute VB_Name = \"basX\"", "Sub A()", "End Sub"},
       {Proc("Public", "A")}},
      {"form: the control block is never analysed",
       {"VERSION 5.00", "Begin VB.Form frmMain", "   Caption = \"Sub Fake()\"", "Sub Fake()", "End",
        "Attribute VB_Name = \"frmMain\"", "Attribute VB_GlobalNameSpace = False",
        "Attribute VB_Exposed = False", "Option Explicit", "Private Sub Form_Load()", "End Sub"},
       {Proc("Private", "Form_Load")}},
      {"class",
       {"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END", "attribute VB_Name = \"cX\"",
        "ATTRIBUTE VB_Exposed = False", "Public Sub Run()", "Attribute Run.VB_UserMemId = 0",
        "End Sub"},
       {Proc("Public", "Run")}},
      {"the line right after the attribute run is analysed",
       {"Attribute VB_Name = \"basX\"", "Sub A()"},
       {Proc("Public", "A")}},
      {"no attribute line at all", {"Sub A()", "End Sub"}, {}},
      {"empty file", {}, {}},
      {"a continued attribute line takes the next line with it",
       {"Attribute VB_Name = _", "\"basX\"", "Sub A()"},
       {Proc("Public", "A")}},
  };
  for (const Case& c : cases) {
    Scan scan = ScanLines(c.lines);
    EXPECT_TRUE(scan.ok) << c.what << ": " << scan.error;
    EXPECT_EQ(scan.model.Procedures, c.entries) << c.what;
  }
}

TEST(ModuleScannerTest, CollectsCommentsAsTheOptionsSay) {
  const Lines part_example = {"' a", "Public Sub A()", "    ' b", "End Sub"};
  const Lines head_comment = {"Public Function F() As Long ' head", "End Function"};
  const Lines doubled = {"Sub A()", "''' banner", "x = \"it''s\" ' code", "' kept", "End Sub"};
  struct Case {
    const char* what;
    Options options;
    Lines lines;
    std::string comment;
  } cases[] = {
      {"Func off: body only", Flags(0, 0, 0), part_example, " b\n"},
      {"Func on: above and body", Flags(0, 1, 0), part_example, " a\n b\n"},
      {"Trim keeps the column", Flags(0, 0, 1), part_example, "      b\n"},
      {"Trim and Func", Flags(0, 1, 1), part_example, "  a\n      b\n"},
      {"head comment, Func off", Flags(0, 0, 0), head_comment, ""},
      {"head comment, Func on", Flags(0, 1, 0), head_comment, " head\n"},
      {"head comment, Func and Trim: indentation, not the quote's column", Flags(0, 1, 1),
       head_comment, "  head\n"},
      {"Cmt off takes doubled quotes", Flags(0, 0, 0), doubled, "'' banner\n's\" ' code\n kept\n"},
      {"Cmt on skips doubled quotes anywhere", Flags(1, 0, 0), doubled, " kept\n"},
      {"code line's trailing comment with Trim",
       Flags(0, 0, 1),
       {"Sub A()", "  x = 1 ' one", "End Sub"},
       "    one\n"},
      {"continued line keeps its markers",
       Flags(0, 0, 0),
       {"Sub A()", "  x = 1 ' a _", "  more", "End Sub"},
       " a _  more\n"},
      {"comments after the last end line are dropped",
       Flags(0, 1, 0),
       {"Sub A()", "End Sub", "' orphan"},
       ""},
      {"the end line contributes nothing", Flags(0, 0, 0), {"Sub A()", "End Sub ' x"}, ""},
  };
  for (const Case& c : cases) {
    Scan scan = ScanModule(c.lines, c.options);
    ASSERT_TRUE(scan.ok) << c.what << ": " << scan.error;
    ASSERT_FALSE(scan.model.Procedures.empty()) << c.what;
    EXPECT_EQ(scan.model.Procedures[0].Comment, c.comment) << c.what;
  }
}

TEST(ModuleScannerTest, GreyFlagsCountAsOff) {
  Options grey;
  grey.Func = CheckState::kGreyed;
  Scan scan = ScanModule({"' above", "Sub A()", "End Sub"}, grey);
  EXPECT_THAT(scan.model.Procedures, ElementsAre(Proc("Public", "A")));
}

TEST(ModuleScannerTest, FunctionsAndSubsAreTrackedApart) {
  // A Function head inside a Sub body opens a Function; each end line closes its own kind and
  // stores the comment into the entry appended last, so B's comment is overwritten at End Sub.
  Scan scan = ScanModule({"Sub A()", "' in A", "Function B() As Long", "' in both", "End Function",
                          "' in A again", "End Sub"});
  ASSERT_TRUE(scan.ok) << scan.error;
  EXPECT_THAT(scan.model.Procedures,
              ElementsAre(Proc("Public", "A"), Proc("Public", "B", "", "Long", " in A again\n")));
  // A head without "(" opens a body all the same: the next Sub head inside it is not seen.
  scan = ScanModule(
      {"Sub First()", "End Sub", "Public Sub Total", "Sub Hidden()", "' note", "End Sub"});
  EXPECT_THAT(scan.model.Procedures, ElementsAre(Proc("Public", "First", "", "", " note\n")));
}

TEST(ModuleScannerTest, AnEndStatementAfterAColonEndsTheProcedureOnItsLine) {
  struct Case {
    Lines lines;
    std::vector<ProcedureEntry> entries;
  } cases[] = {
      {{"Public Function NewEnum() As IUnknown: End Function", "' b", "Function B() As Long",
        "End Function"},
       {Proc("Public", "NewEnum", "", "IUnknown"), Proc("Public", "B", "", "Long", " b\n")}},
      {{"' a", "Public Sub CloseReader():End Sub ' c", "Sub B()", "End Sub"},
       {Proc("Public", "CloseReader", "", "", " a\n c\n"), Proc("Public", "B")}},
      // Not the matching end statement: the procedure stays open, parameters stay whole.
      {{"Sub E(Optional s As String = \"a:b\"): x = 1", "' body", "End Sub"},
       {Proc("Public", "E", "Optional s As String = \"a:b\"", "", " body\n")}},
      {{"Sub A(): End Function", "Sub B()", "' in A", "End Sub"},
       {Proc("Public", "A", "", "", " in A\n")}},
      {{"Sub A(): End Subs", "Sub B()", "End Sub"}, {Proc("Public", "A")}},
  };
  for (const Case& c : cases) {
    Scan scan = ScanModule(c.lines, Flags(0, 1, 0));
    EXPECT_TRUE(scan.ok) << c.lines[0] << ": " << scan.error;
    EXPECT_EQ(scan.model.Procedures, c.entries) << c.lines[0];
  }
}

TEST(ModuleScannerTest, AProcedureLeftOpenKeepsAnEmptyComment) {
  Scan scan = ScanModule({"Sub A()", "' never stored", "x = 1 _"}, Flags(0, 1, 0));
  EXPECT_TRUE(scan.ok);
  EXPECT_THAT(scan.model.Procedures, ElementsAre(Proc("Public", "A")));
}

TEST(ModuleScannerTest, AnEndLineStoresIntoTheLastEntryOfAnEarlierFile) {
  SpecificationModel earlier;
  earlier.Procedures.push_back(Proc("Public", "Before"));
  Scan scan = ScanLines({kModuleHeader, "Public Sub Total", "' stray", "End Sub"}, {}, earlier);
  ASSERT_TRUE(scan.ok) << scan.error;
  EXPECT_THAT(scan.model.Procedures, ElementsAre(Proc("Public", "Before", "", "", " stray\n")));
}

TEST(ModuleScannerTest, FailuresNameTheFileAndTheLine) {
  struct Case {
    Lines lines;
    std::string error;
    size_t entries_kept;
  } cases[] = {
      {{kModuleHeader, "Private Sub Classed", "' nothing yet", "End Sub"},
       "C:/app/basX.bas(4): 「End Sub」より前に手続きの見出しがありません。",
       0},
      {{kModuleHeader, "Public Function Ality", "End Function"},
       "C:/app/basX.bas(3): 「End Function」より前に手続きの見出しがありません。",
       0},
      {{kModuleHeader, "Sub A()", "End Sub", "Function F(a As Long, _", "  b As Long",
        "End Function"},
       "C:/app/basX.bas(4): 手続きの見出しの「(」が閉じていません。",
       1},
  };
  for (const Case& c : cases) {
    Scan scan = ScanLines(c.lines);
    EXPECT_FALSE(scan.ok);
    EXPECT_EQ(scan.error, c.error);
    EXPECT_EQ(scan.model.Procedures.size(), c.entries_kept);
  }
}

// Complete mode meets a head whose "(" is never closed with the default mode's line error, and
// lists no procedure for a head word without a name; that head's body still runs to its end.
TEST(ModuleScannerTest, CompleteModeTakesMalformedHeadsAsTheDefaultModeDoes) {
  Options complete;
  complete.Complete = true;
  struct Case {
    Lines lines;
    std::string error;  // "" when the file is read
    std::vector<std::string> names;
  } cases[] = {
      {{"Friend Static Sub S)(", "End Sub"},
       "C:/app/basX.bas(2): 手続きの見出しの「(」が閉じていません。",
       {}},
      {{"Sub A()", "End Sub", "Function F(a As Long, _", "  b As Long", "End Function"},
       "C:/app/basX.bas(4): 手続きの見出しの「(」が閉じていません。",
       {"A"}},
      {{"Private Property Let V(ByVal v As Long", "End Property"},
       "C:/app/basX.bas(2): 手続きの見出しの「(」が閉じていません。",
       {}},
      {{"Property Get", "' inside", "End Property", "Sub B()", "End Sub"}, "", {"B"}},
      {{"Public Property Get \"\"", "End Property", "Event", "Sub C()", "End Sub"}, "", {"C"}},
  };
  for (const Case& c : cases) {
    Scan scan = ScanModule(c.lines, complete);
    EXPECT_EQ(scan.error, c.error) << c.lines[0];
    std::vector<std::string> names;
    for (const ProcedureEntry& entry : scan.model.Procedures) names.push_back(entry.Name);
    EXPECT_EQ(names, c.names) << c.lines[0];
  }
}

TEST(ModuleScannerTest, StartForgetsThePreviousFile) {
  SpecificationModel model;
  Options options;
  ModuleScanner scanner(options, &model);
  scanner.Start(SourcePath::Locate("a.bas"));
  for (const char* line : {kModuleHeader, "Sub A()", "' a", "x = 1 _"}) {
    ASSERT_TRUE(scanner.ScanLine(line).ok());
  }
  scanner.Start(SourcePath::Locate("b.bas"));
  // "Sub B()" comes before b.bas's header; the end line stores b.bas's own, empty comment.
  for (const char* line : {"Sub B()", kModuleHeader, "Public Sub Total", "End Sub"}) {
    Status scanned = scanner.ScanLine(line);
    ASSERT_TRUE(scanned.ok()) << scanned.message();
  }
  ASSERT_EQ(model.Procedures.size(), 1u);
  EXPECT_EQ(model.Procedures[0].Comment, "");
  EXPECT_EQ(model.Procedures[0].FileName, "a.bas");
}

TEST(ModuleScannerTest, ReadModuleDecodesTheFileAndNamesEachEntrysFile) {
  testing::TempDir dir;
  std::string bytes = "Attribute VB_Name = \"basX\"\r\n" + EncodeCp932("' 合計を求める") +
                      "\r\nPublic Function Calc() As Long\r\n" + EncodeCp932("  ' 表示") +
                      "\r\nEnd Function\r\n";
  dir.Write("Src/basX.bas", bytes);
  SpecificationModel model;
  ASSERT_TRUE(
      ReadModule(SourcePath::Locate(dir.Windows("src/BASX.BAS")), Flags(0, 1, 0), &model).ok());
  ASSERT_EQ(model.Procedures.size(), 1u);
  EXPECT_EQ(model.Procedures[0].FileName, "BASX.BAS");
  EXPECT_EQ(model.Procedures[0].Comment, " 合計を求める\n 表示\n");
}

// Lines longer than the reader's buffer are handed on rather than copied; what is read from
// them is the same as from short ones.
TEST(ModuleScannerTest, ReadModuleTakesLongLinesWhole) {
  const std::string x(200000, 'x');
  const std::string kana = EncodeCp932(std::string(100000 / 3 * 3, 'a') + "表");
  testing::TempDir dir;
  dir.Write("long.bas",
            "Attribute VB_Name = \"basLong\"\r\n"
            "Sub A(ByVal a As Long, _\r\n  " +
                x + " As Long)\r\n  '" + kana + "\r\nEnd Sub\r\nFunction B(" + x +
                " _\r\n  , c) As Long\r\nEnd Function\r\n");
  SpecificationModel model;
  ASSERT_TRUE(ReadModule(SourcePath::Locate(dir.Windows("long.bas")), Flags(0, 0, 0), &model).ok());
  ASSERT_EQ(model.Procedures.size(), 2u);
  EXPECT_EQ(model.Procedures[0].Parameters, "ByVal a As Long," + x + " As Long");
  EXPECT_EQ(model.Procedures[0].Comment, std::string(100000 / 3 * 3, 'a') + "表\n");
  EXPECT_EQ(model.Procedures[1].Parameters, x + ", c");
  EXPECT_EQ(model.Procedures[1].ReturnType, "Long");
}

TEST(ModuleScannerTest, ReadModuleReportsTheFailingLineOrFile) {
  testing::TempDir dir;
  dir.Write("bad.bas", "Attribute VB_Name = \"bad\"\nSub A()\nEnd Sub\nSub B(\n");
  SpecificationModel model;
  Status read = ReadModule(SourcePath::Locate(dir.Windows("bad.bas")), {}, &model);
  EXPECT_EQ(read.message(), dir.Native("bad.bas") + "(4): 手続きの見出しの「(」が閉じていません。");
  EXPECT_EQ(model.Procedures.size(), 1u);

  read = ReadModule(SourcePath::Locate(dir.Windows("missing.bas")), {}, &model);
  EXPECT_EQ(read.message(), dir.Native("missing.bas") + ": ファイルが見つかりません。");
  EXPECT_EQ(model.Procedures.size(), 1u);
}

// Counts, in the raw bytes of a source file, the physical lines after its first run of
// attribute lines that begin with a Sub or Function head of the default kinds, while no
// procedure of the same kind is open (a one-line procedure closes itself): an independent line scan
// to hold the scanner against. Only an end line at the start of a line closes a procedure, so a Sub
// after an indented "End Sub" is not counted.
size_t CountHeadLines(const std::filesystem::path& file) {
  static const std::regex head("^(Public |Private )?(Function|Sub)[ \\t].*");
  static const std::regex attribute("attribute", std::regex::icase);
  static const std::regex one_line(R"(: *End (Sub|Function)\b)");
  std::ifstream in(file, std::ios::binary);
  std::string line;
  bool seen = false, passed = false, open[2] = {false, false};
  size_t heads = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!passed) {
      bool has = std::regex_search(line, attribute);
      passed = seen && !has;
      seen = seen || has;
      if (!passed) continue;
    }
    std::smatch m;
    if (std::regex_match(line, m, head)) {
      bool& kind_open = open[m[2] == "Sub"];
      heads += !kind_open;
      kind_open = kind_open || !std::regex_search(line, one_line);
    }
    if (line.starts_with("End Function")) open[0] = false;
    if (line.starts_with("End Sub")) open[1] = false;
  }
  return heads;
}

TEST(ModuleScannerTest, ListsEveryHeadOfTheCorpus) {
  std::string corpus = testing::CorpusFolder();
  if (corpus.empty()) GTEST_SKIP() << "no shared corpus";
  size_t files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    std::string ext = entry.path().extension().string();
    if (ext != ".bas" && ext != ".cls" && ext != ".frm") continue;
    SpecificationModel model;
    Status read = ReadModule(SourcePath::Locate(ToWindowsPath(entry.path().string())), {}, &model);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(model.Procedures.size(), CountHeadLines(entry.path())) << entry.path();
    for (const ProcedureEntry& e : model.Procedures) EXPECT_NE(e.Name, "") << entry.path();
    ++files;
  }
  EXPECT_GT(files, 900u);
}

}  // namespace
}  // namespace dovrek

#include "report/text_report.h"

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <new>

#include <gtest/gtest.h>

#include "os/native_path.h"
#include "test_support.h"
#include "report/report_messages.h"

namespace dovrek {
namespace {

using testing::ReadFileBytes;
using testing::RecordingMessageBox;
using testing::RecordingProgressWindow;
using testing::TempDir;

// Chooses the file given (native), none when it is empty; counts the times it is asked.
struct FixedChoice {
  explicit FixedChoice(std::string native_path) : path(std::move(native_path)) {}
  PathChooser chooser() {
    return [this](std::string* chosen) {
      ++calls;
      *chosen = path;
      return Status::OK();
    };
  }
  std::string path;
  int calls = 0;
};

std::string Golden(const std::string& name) {
  return ReadFileBytes(std::string(DOVREK_TEST_DATA) + "/text_report/" + name);
}

ProcedureEntry Procedure(std::string name, std::string file, std::string comment = "") {
  ProcedureEntry e;
  e.Name = std::move(name);
  e.Scope = "Public";
  e.FileName = std::move(file);
  e.Comment = std::move(comment);
  return e;
}

// No title, a version, nothing else: every default and every empty list.
SpecificationModel DefaultsModel() {
  SpecificationModel m;
  m.Project.MajorVer = "1";
  m.Project.MinorVer = "0";
  m.Project.RevisionVer = "5";
  return m;
}

// A title joined to its version, two forms, a procedure without comment, a two-line comment
// and a character code page 932 cannot hold.
SpecificationModel FullModel() {
  SpecificationModel m;
  ProjectInfo& p = m.Project;
  p.Title = "Tool";
  p.MajorVer = "1";
  p.MinorVer = "2";
  p.RevisionVer = "3";
  p.VersionFileDescription = "在庫管理ツール";
  p.Name = "Zaiko";
  p.ExeName32 = "Zaiko.exe";
  p.Command32 = "/debug";
  p.HelpFile = "zaiko.hlp";
  p.VersionCompanyName = "not printed";
  m.Files(MemberKind::kForm) = {{"a.frm", ""}, {"b.frm", "..\\forms"}};
  m.Files(MemberKind::kModule) = {{"basX.bas", ""}};
  m.Files(MemberKind::kClass) = {{"clsItem.cls", ""}};
  ProcedureEntry foo = Procedure("Foo", "basX.bas");
  foo.Scope = "Private";
  ProcedureEntry bar = Procedure("Bar", "basX.bas", "x\ny\n");
  bar.Parameters = "ByVal n As Long, s As String";
  bar.ReturnType = "Boolean";
  m.Procedures = {foo, bar, Procedure("Baz", "clsItem.cls", "' 在庫を数える 한\n")};
  return m;
}

// The full model as complete mode reads it: kinds, a Static procedure and the four further
// component lists, one of them empty.
SpecificationModel CompleteModel() {
  SpecificationModel m = FullModel();
  m.Procedures[0].Kind = "Sub";
  m.Procedures[0].Static = true;
  m.Procedures[1].Kind = "Function";
  m.Procedures[2].Kind = "Property Get";
  m.Files(MemberKind::kControl) = {{"ctlGrid.ctl", ""}, {"ctlTree.ctl", "..\\ctl"}};
  m.Files(MemberKind::kDocument) = {{"docMain.dob", ""}};
  m.Files(MemberKind::kDesigner) = {{"rptSales.Dsr", ""}};
  return m;
}

struct Written {
  Status result;
  std::string bytes;
  std::vector<std::string> progress;
};

Written Write(const SpecificationModel& model, Encoding encoding,
              ReportMode mode = ReportMode::kDefault) {
  TempDir dir;
  FixedChoice dialog(dir.Native("report.txt"));
  RecordingProgressWindow progress;
  Status result = WriteTextReport(model, dialog.chooser(), progress, encoding, mode);
  return {result, ReadFileBytes(dir.Native("report.txt")), progress.calls};
}

TEST(TextReportTest, MatchesGoldenFiles) {
  struct Case {
    const char* golden;
    std::function<SpecificationModel()> model;
    Encoding encoding;
    ReportMode mode = ReportMode::kDefault;
  } cases[] = {
      {"defaults.cp932.txt", DefaultsModel, Encoding::kCp932},
      {"full.cp932.txt", FullModel, Encoding::kCp932},
      {"full.utf8.txt", FullModel, Encoding::kUtf8},
      // What complete mode reads changes nothing unless the reports are in complete mode.
      {"full.cp932.txt", CompleteModel, Encoding::kCp932},
      {"complete.cp932.txt", CompleteModel, Encoding::kCp932, ReportMode::kComplete},
      {"complete.utf8.txt", CompleteModel, Encoding::kUtf8, ReportMode::kComplete},
  };
  for (const Case& c : cases) {
    Written w = Write(c.model(), c.encoding, c.mode);
    EXPECT_TRUE(w.result.ok()) << c.golden << ": " << w.result.message();
    EXPECT_EQ(w.bytes, Golden(c.golden)) << c.golden;
  }
}

TEST(TextReportTest, ReportsProgressByLastIndex) {
  const std::string init = std::string("Init ");
  struct Case {
    int procedures;
    std::vector<std::string> calls;
  } cases[] = {
      {0, {"Load", "Unload"}},
      {1, {"Load", init + "0 " + kFunctionListPhase, "Progress 0", "Unload"}},
      {3,
       {"Load", init + "2 " + kFunctionListPhase, "Progress 0", "Progress 1", "Progress 2",
        "Unload"}},
  };
  for (const Case& c : cases) {
    SpecificationModel model;
    for (int i = 0; i < c.procedures; ++i) model.Procedures.push_back(Procedure("P", "a.bas"));
    EXPECT_EQ(Write(model, Encoding::kCp932).progress, c.calls) << c.procedures;
  }
}

TEST(TextReportTest, CancelWritesNothing) {
  TempDir dir;
  std::string existing = dir.Write("report.txt", "earlier report");
  FixedChoice dialog("");
  RecordingProgressWindow progress;
  LogWriter log;
  log.SetLogFileName(dir.Native("report.txt"));
  EXPECT_TRUE(WriteTextReport(FullModel(), dialog.chooser(), progress, log).ok());
  EXPECT_EQ(dialog.calls, 1);
  EXPECT_EQ(ReadFileBytes(existing), "earlier report");
  EXPECT_TRUE(progress.calls.empty());
}

TEST(TextReportTest, ReplacesAnExistingFileWhole) {
  TempDir dir;
  std::string path = dir.Write("report.txt", std::string(5000, 'z'));
  FixedChoice dialog(dir.Native("report.txt"));
  RecordingProgressWindow progress;
  ASSERT_TRUE(WriteTextReport(DefaultsModel(), dialog.chooser(), progress).ok());
  EXPECT_EQ(ReadFileBytes(path), Golden("defaults.cp932.txt"));
}

TEST(TextReportTest, UnwritableFileFailsWithAMessage) {
  TempDir dir;
  struct Case {
    std::string path;  // native
    std::string message;
    std::vector<std::string> progress;
  } cases[] = {
      {dir.Native("missing/report.txt"), dir.Native("missing") + ": フォルダが存在しません。", {}},
      {dir.Native(""), dir.Native("") + ": パス/ファイル アクセス エラーです。(フォルダです)", {}},
      {"/dev/full", "/dev/full: ディスクの空き容量が不足しています。", {"Load", "Unload"}},
  };
  for (const Case& c : cases) {
    if (c.path == "/dev/full" && ::access("/dev/full", W_OK) != 0) continue;
    FixedChoice dialog(c.path);
    RecordingProgressWindow progress;
    EXPECT_EQ(WriteTextReport(DefaultsModel(), dialog.chooser(), progress).message(), c.message);
    EXPECT_EQ(progress.calls, c.progress) << c.path;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

// Memory that runs out while the procedures are written fails the report with a message that
// names the file and the stage, and leaves no file.
TEST(TextReportTest, RunningOutOfMemoryNamesTheFileAndTheStage) {
  struct OutOfMemoryAtProcedures : RecordingProgressWindow {
    void InitProgress(int32_t, const std::string&) override { throw std::bad_alloc(); }
  };
  TempDir dir;
  FixedChoice dialog(dir.Native("report.txt"));
  OutOfMemoryAtProcedures progress;
  EXPECT_EQ(
      WriteTextReport(FullModel(), dialog.chooser(), progress).message(),
      dir.Native("report.txt") + ": メモリが不足しています。(テキスト レポートの関数一覧の出力中)");
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"Load", "Unload"}));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "report.txt"));
}

}  // namespace
}  // namespace dovrek

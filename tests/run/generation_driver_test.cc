#include "run/generation_driver.h"

#include <sys/inotify.h>

#include <gtest/gtest.h>

#include "os/native_path.h"
#include "test_support.h"

namespace dovrek {
namespace {

// Records the stages as text and answers each from a plan; fills the model like the reader.
class RecordingStages : public RunStages {
 public:
  explicit RecordingStages(SpecificationModel* model) : model_(model) {}
  bool ReadProject(const SourcePath& path) override {
    calls.push_back("ReadProject " + path.windows());
    model_->Files(MemberKind::kForm) = forms;
    model_->Files(MemberKind::kModule) = modules;
    model_->Files(MemberKind::kClass) = classes;
    model_->Files(MemberKind::kControl) = controls;
    model_->Files(MemberKind::kPage) = pages;
    model_->Files(MemberKind::kDesigner) = designers;
    return Answer("ReadProject");
  }
  bool ReadModule(const SourcePath& path) override {
    calls.push_back("ReadModule " + path.windows());
    if (path.IsFile()) ++found;
    return Answer(path.windows());
  }
  void ReadAhead(const std::vector<SourcePath>& paths) override {
    for (const SourcePath& path : paths) ahead.push_back(path.windows());
  }
  bool WriteWorkbookReport() override {
    calls.push_back("Workbook");
    return Answer("Workbook");
  }
  bool WriteTextReport() override {
    calls.push_back("Text");
    return Answer("Text");
  }

  std::vector<MemberFile> forms, modules, classes, controls, pages, designers;
  std::string fail_at;  // the call (or module path) that answers false
  std::vector<std::string> calls;
  std::vector<std::string> ahead;  // the paths named to be read
  int found = 0;                   // the members read whose file exists

 private:
  bool Answer(const std::string& what) { return what != fail_at; }
  SpecificationModel* model_;
};

struct DriverFixture : ::testing::Test {
  DriverFixture() : stages(&model) {
    project = dir.Windows("app/app.vbp");
    dir.Write("app/app.vbp", "Type=Exe\r\n");
  }
  bool Run(const std::string& path) {
    RunContext run{model, options, msg, progress, stages};
    return CreateSpecification(SourcePath::Locate(path), run);
  }
  testing::TempDir dir;
  std::string project;
  SpecificationModel model;
  Options options;
  testing::RecordingMessageBox msg;
  testing::RecordingProgressWindow progress;
  RecordingStages stages;
};

// A project that is not there gets the caution of its own; a folder in its place is named.
TEST_F(DriverFixture, MissingProjectShowsTheCautionOnly) {
  const std::string missing = "注意|指定されたフォルダに vbp ファイルが見つかりません。";
  const std::pair<std::string, std::string> cases[] = {
      {std::string(), missing},
      {dir.Windows("nothing.vbp"), missing},
      {dir.Windows("app"),
       "注意|" + dir.Native("app") + ": パス/ファイル アクセス エラーです。(フォルダです)"}};
  for (const auto& [path, shown] : cases) {
    msg.shown.clear();
    EXPECT_FALSE(Run(path));
    EXPECT_EQ(msg.shown, std::vector<std::string>{shown}) << path;
  }
  EXPECT_TRUE(stages.calls.empty());
  EXPECT_TRUE(progress.calls.empty());
}

TEST_F(DriverFixture, ReadsTheGroupsInOrderAndWritesTheChosenReports) {
  stages.forms = {{"f.frm", ""}};
  stages.classes = {{"a.cls", "..\\Common"}, {"b.cls", "\\abs"}};
  options.Xls = CheckState::kOn;
  options.Txt = CheckState::kOn;
  model.Procedures.push_back({});  // left from an earlier run
  ASSERT_TRUE(Run(project));
  std::string folder = dir.Windows("app");
  EXPECT_EQ(stages.calls, (std::vector<std::string>{
                              "ReadProject " + project, "ReadModule " + folder + "\\\\f.frm",
                              "ReadModule " + folder + "\\..\\Common\\a.cls",
                              "ReadModule \\abs\\b.cls", "Workbook", "Text"}));
  EXPECT_EQ(progress.calls,
            (std::vector<std::string>{"Load", "Init 1 フォームを読み込んでいます…", "Progress 0",
                                      "Init 2 クラス モジュールを読み込んでいます…", "Progress 0",
                                      "Progress 1", "Unload"}));
  EXPECT_EQ(model.LastProcedure(), -1);
  EXPECT_TRUE(msg.shown.empty());
}

TEST_F(DriverFixture, StopsAtTheFirstStageThatFails) {
  stages.forms = {{"f.frm", ""}};
  stages.modules = {{"m.bas", ""}};
  stages.classes = {{"a.cls", ""}, {"b.cls", ""}};
  options.Xls = CheckState::kOn;
  options.Txt = CheckState::kOn;
  struct Case {
    std::string fail_at;
    std::string last_call;
  } cases[] = {
      {"ReadProject", "ReadProject " + project},
      {dir.Windows("app") + "\\\\b.cls", "ReadModule " + dir.Windows("app") + "\\\\b.cls"},
      {"Workbook", "Workbook"},
      {"Text", "Text"},
  };
  for (const Case& c : cases) {
    stages.calls.clear();
    progress.calls.clear();
    stages.fail_at = c.fail_at;
    EXPECT_FALSE(Run(project)) << c.fail_at;
    EXPECT_EQ(stages.calls.back(), c.last_call);
    if (c.fail_at != "ReadProject") {
      EXPECT_EQ(progress.calls.back(), "Unload");
    }
  }
}

// Members named in another letter case than their files are found with one listing of their
// folder per run, whether the run decides the encoding, skips missing components or reads
// the members; the next run lists the folder again and sees a file added since.
TEST_F(DriverFixture, ListsAMembersFolderOncePerRun) {
  for (const char* name : {"A.BAS", "B.BAS", "C.CTL"}) dir.Write(std::string("app/") + name, "");
  stages.modules = {{"a.bas", ""}, {"b.bas", ""}};
  stages.controls = {{"c.ctl", ""}, {"d.ctl", ""}};
  options.Complete = 1;  // the encoding is decided from the members first
  testing::FolderEvents listed(dir.path() / "app", IN_OPEN);
  ASSERT_TRUE(Run(project));
  EXPECT_EQ(listed.CountFor(""), 1);
  EXPECT_EQ(stages.found, 3);
  dir.Write("app/D.CTL", "");
  ASSERT_TRUE(Run(project));
  EXPECT_EQ(listed.CountFor(""), 1);
  EXPECT_EQ(stages.found, 3 + 4);
}

// The project file is evidence for the encoding under the name it was found by.
TEST_F(DriverFixture, DecidesTheEncodingFromTheProjectFileInAnyLetterCase) {
  dir.Write("app/Other.vbp",
            "Type=Exe\r\nTitle=日本語の題名\r\nVersionFileDescription=説明の文\r\n");
  options.Complete = true;
  ASSERT_TRUE(Run(dir.Windows("app/OTHER.VBP")));
  EXPECT_EQ(model.SourceEncoding, Encoding::kUtf8);
}

TEST_F(DriverFixture, NoReportChosenStillReadsEverything) {
  stages.modules = {{"m.bas", ""}};
  options.Xls = CheckState::kGreyed;  // greyed: off
  ASSERT_TRUE(Run(project));
  EXPECT_EQ(stages.calls.size(), 2u);
  EXPECT_EQ(progress.calls,
            (std::vector<std::string>{"Load", "Init 1 標準モジュールを読み込んでいます…",
                                      "Progress 0", "Unload"}));
}

TEST_F(DriverFixture, SkipsMissingComponentsAndNamesThemInOneBoxAfterTheReports) {
  dir.Write("app/c.ctl", "");
  dir.Write("app/r.Dsr", "");
  stages.controls = {{"c.ctl", ""}};
  stages.pages = {{"p.pag", ""}};
  stages.designers = {{"r.Dsr", ""}, {"gone.dsr", ""}};
  options.Txt = CheckState::kOn;
  stages.fail_at = "Text";  // the box comes also when a report fails
  EXPECT_FALSE(Run(project));
  std::string folder = dir.Windows("app");
  EXPECT_EQ(stages.calls, (std::vector<std::string>{"ReadProject " + project,
                                                    "ReadModule " + folder + "\\\\c.ctl",
                                                    "ReadModule " + folder + "\\\\r.Dsr", "Text"}));
  EXPECT_EQ(stages.ahead, (std::vector<std::string>{folder + "\\\\c.ctl", folder + "\\\\r.Dsr"}));
  EXPECT_EQ(progress.calls,
            (std::vector<std::string>{"Load", "Init 1 ユーザーコントロールを読み込んでいます…",
                                      "Progress 0", "Init 1 プロパティページを読み込んでいます…",
                                      "Progress 0", "Init 2 デザイナを読み込んでいます…",
                                      "Progress 0", "Progress 1", "Unload"}));
  EXPECT_EQ(msg.shown, std::vector<std::string>{
                           "情報|次のファイルが見つからないため、読み込まずに続けました。\n" +
                           dir.Native("app") + "//p.pag\n" + dir.Native("app") + "//gone.dsr"});
}

TEST_F(DriverFixture, AnEmptyProjectOpensAndClosesTheProgressWindowOnly) {
  options.Txt = CheckState::kOn;
  ASSERT_TRUE(Run(project));
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"Load", "Unload"}));
  EXPECT_EQ(stages.calls.back(), "Text");
}

}  // namespace
}  // namespace dovrek

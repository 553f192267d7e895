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
  Status ReadProject(const SourcePath& path) override {
    calls.push_back("ReadProject " + path.windows());
    model_->Files(MemberKind::kForm) = forms;
    model_->Files(MemberKind::kModule) = modules;
    model_->Files(MemberKind::kClass) = classes;
    model_->Files(MemberKind::kControl) = controls;
    model_->Files(MemberKind::kPage) = pages;
    model_->Files(MemberKind::kDesigner) = designers;
    return Answer("ReadProject");
  }
  Status ReadModule(const SourcePath& path) override {
    calls.push_back("ReadModule " + path.windows());
    if (path.IsFile()) ++found;
    return Answer(path.windows());
  }
  void ReadAhead(const std::vector<SourcePath>& paths) override {
    for (const SourcePath& path : paths) ahead.push_back(path.windows());
  }

  std::vector<MemberFile> forms, modules, classes, controls, pages, designers;
  std::string fail_at;  // the call (or module path, or writer) that answers false
  std::vector<std::string> calls;
  std::vector<std::string> ahead;  // the paths named to be read
  int found = 0;                   // the members read whose file exists

 private:
  Status Answer(const std::string& what) {
    if (what != fail_at) return Status::OK();
    return what == "ReadProject" ? Status::WrongKind("no project") : Status::IoError(what);
  }
  SpecificationModel* model_;
};

// A writer that records its call among the stages' and fails as `fail_at` says: the template
// writer's failure is NotFound, the others' an error.
class RecordingWriter : public ReportWriter {
 public:
  RecordingWriter(std::string name, RecordingStages& stages) : name_(name), stages_(stages) {}
  Status Write(const SpecificationModel&, ProgressWindow&) override {
    stages_.calls.push_back(name_);
    if (name_ != stages_.fail_at) return Status::OK();
    return name_ == "Workbook" ? Status::NotFound(name_) : Status::Error(name_);
  }
  void RunEnded() override { stages_.calls.push_back(name_ + " ended"); }

 private:
  std::string name_;
  RecordingStages& stages_;
};

struct DriverFixture : ::testing::Test {
  DriverFixture() : stages(&model) {
    project = dir.Windows("app/app.vbp");
    dir.Write("app/app.vbp", "Type=Exe\r\n");
  }
  bool Run(const std::string& path) {
    ReportWriters writers;
    if (Options::On(options.Xls))
      writers.push_back(std::make_unique<RecordingWriter>("Workbook", stages));
    if (Options::On(options.Txt))
      writers.push_back(std::make_unique<RecordingWriter>("Text", stages));
    RunContext run{model, options, msg, progress, stages, writers};
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
  EXPECT_EQ(stages.calls,
            (std::vector<std::string>{
                "ReadProject " + project, "ReadModule " + folder + "\\\\f.frm",
                "ReadModule " + folder + "\\..\\Common\\a.cls", "ReadModule \\abs\\b.cls",
                "Workbook", "Text", "Workbook ended", "Text ended"}));
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
  // A stage's failure is shown by the driver: a file of the wrong kind and a report's missing
  // input as a caution. Every writer hears that the run is over, however it ended.
  struct Case {
    std::string fail_at;
    std::string last_call;
    std::vector<std::string> shown;
  } cases[] = {
      {"ReadProject", "ReadProject " + project, {"注意|no project"}},
      {dir.Windows("app") + "\\\\b.cls",
       "ReadModule " + dir.Windows("app") + "\\\\b.cls",
       {"エラー|" + dir.Windows("app") + "\\\\b.cls"}},
      {"Workbook", "Workbook", {"注意|Workbook"}},
      {"Text", "Text", {"エラー|Text"}},
  };
  for (const Case& c : cases) {
    stages.calls.clear();
    progress.calls.clear();
    msg.shown.clear();
    stages.fail_at = c.fail_at;
    EXPECT_FALSE(Run(project)) << c.fail_at;
    EXPECT_EQ(stages.calls.end()[-3], c.last_call);
    EXPECT_EQ(stages.calls.back(), "Text ended");
    EXPECT_EQ(msg.shown, c.shown) << c.fail_at;
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
  EXPECT_EQ(stages.calls, (std::vector<std::string>{
                              "ReadProject " + project, "ReadModule " + folder + "\\\\c.ctl",
                              "ReadModule " + folder + "\\\\r.Dsr", "Text", "Text ended"}));
  EXPECT_EQ(stages.ahead, (std::vector<std::string>{folder + "\\\\c.ctl", folder + "\\\\r.Dsr"}));
  EXPECT_EQ(progress.calls,
            (std::vector<std::string>{"Load", "Init 1 ユーザーコントロールを読み込んでいます…",
                                      "Progress 0", "Init 1 プロパティページを読み込んでいます…",
                                      "Progress 0", "Init 2 デザイナを読み込んでいます…",
                                      "Progress 0", "Progress 1", "Unload"}));
  EXPECT_EQ(
      msg.shown,
      (std::vector<std::string>{
          "エラー|Text", "情報|次のファイルが見つからないため、読み込まずに続けました。\n" +
                             dir.Native("app") + "//p.pag\n" + dir.Native("app") + "//gone.dsr"}));
}

TEST_F(DriverFixture, AnEmptyProjectOpensAndClosesTheProgressWindowOnly) {
  options.Txt = CheckState::kOn;
  ASSERT_TRUE(Run(project));
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"Load", "Unload"}));
  EXPECT_EQ(stages.calls.end()[-2], "Text");
}

}  // namespace
}  // namespace dovrek

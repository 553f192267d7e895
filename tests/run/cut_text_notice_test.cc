// A comment too long for one cell is cut, and the user hears of it where they look: after a run
// that hands the workbook to the desktop, one information box naming the procedures; in a batch
// run, one line per cut cell on standard error.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/desktop_handover.h"
#include "app/dovrek_process.h"
#include "os/native_path.h"
#include "run/report_writers.h"
#include "run/run_stages.h"

namespace dovrek {
namespace {

using testing::RecordingMessageBox;
using testing::TempDir;

// Answers the save dialog and notes how many boxes had been shown by then.
class NotingFileDialog : public testing::FixedFileDialog {
 public:
  NotingFileDialog(std::string path, const RecordingMessageBox& msg)
      : FixedFileDialog(std::move(path)), msg_(msg) {}
  bool ShowSaveDialog(const std::string& title, std::string* chosen) override {
    boxes_before_dialog = msg_.shown.size();
    return FixedFileDialog::ShowSaveDialog(title, chosen);
  }
  size_t boxes_before_dialog = 0;

 private:
  const RecordingMessageBox& msg_;
};

class CutTextNoticeTest : public ::testing::Test {
 protected:
  CutTextNoticeTest() {
    std::string long_line = "'" + std::string(40000, 'x') + "\r\n";
    dir.Write("p/basX.bas", "Attribute VB_Name = \"basX\"\r\nSub Long1()\r\n" + long_line +
                                "End Sub\r\nSub Short()\r\n'short\r\nEnd Sub\r\nSub Long2()\r\n" +
                                long_line + "End Sub\r\n");
    dir.Write("p/p.vbp", "Type=Exe\r\nName=p\r\nModule=basX; basX.bas\r\n");
  }

  TempDir dir;
};

TEST_F(CutTextNoticeTest, ADesktopRunShowsOneInformationBoxAfterTheRun) {
  Options options;
  options.Xls = CheckState::kOn;
  options.Txt = CheckState::kOn;
  RecordingMessageBox msg;
  NotingFileDialog dialog(dir.Native("spec.txt"), msg);
  testing::RecordingProgressWindow progress;
  OpenerWatch watch;
  OpenInDesktopHandover handover(msg, watch, {"true"});
  testing::RecordingWarnings warnings;
  const ReportWriters writers =
      ChosenWriters(options, {handover, warnings, DOVREK_BUILD_DIR "/Dovrek.xlt",
                              SaveDialogChooser(dialog), Encoding::kCp932, ""});
  SpecificationModel model;
  EXPECT_TRUE(RunSpecification(SourcePath::Locate(dir.Windows("p/p.vbp")), model, options, msg,
                               progress, writers));
  std::filesystem::remove_all(std::filesystem::path(handover.saved_path()).parent_path());
  // Each cut cell is also told to the run's warnings, as a batch run prints it.
  ASSERT_EQ(warnings.warnings.size(), 2u);
  EXPECT_EQ(warnings.warnings[1],
            "警告: シート「関数一覧」のセル B17 の文字列が 32767 文字を超えたため、32767 "
            "文字で切りました。");
  EXPECT_EQ(dialog.boxes_before_dialog, 0u);
  EXPECT_EQ(msg.shown, std::vector<std::string>{
                           "情報|次の関数の文字列が 1 つのセルに入る 32767 文字を超えたため、"
                           "ワークブックでは 32767 文字で切りました。\nLong1(basX.bas)\n"
                           "Long2(basX.bas)"});
}

TEST_F(CutTextNoticeTest, ABatchRunWritesOneLinePerCutCell) {
  testing::ProgramCopy program(dir);
  testing::ProcessOutcome run =
      program.Run({"-q", "-x", dir.Native("out.xlsx"), dir.Native("p/p.vbp")});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err,
            "警告: シート「関数一覧」のセル B7 の文字列が 32767 文字を超えたため、32767 "
            "文字で切りました。\n"
            "警告: シート「関数一覧」のセル B17 の文字列が 32767 文字を超えたため、32767 "
            "文字で切りました。\n");
}

}  // namespace
}  // namespace dovrek

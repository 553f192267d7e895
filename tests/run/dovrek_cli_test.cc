// Runs the built dovrek program as a user would, on real files.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/console_file_dialog.h"
#include "platform/text_codec.h"
#include "run/dovrek_process.h"
#include "test_support.h"

namespace dovrek {
namespace {

class DovrekCliTest : public ::testing::Test {
 protected:
  DovrekCliTest() : program(dir) {}
  testing::ProcessOutcome Dovrek(const std::vector<std::string>& args) { return program.Run(args); }

  testing::TempDir dir;
  testing::ProgramCopy program;
  std::string sample = std::string(DOVREK_SOURCE_DIR) + "/examples/sample/Sample.vbp";
};

TEST_F(DovrekCliTest, UsageVersionAndBadUsage) {
  testing::ProcessOutcome help = Dovrek({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--text-encoding"), std::string::npos);
  testing::ProcessOutcome version = Dovrek({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "dovrek " DOVREK_VERSION "\n");
  EXPECT_EQ(Dovrek({"--bogus", "x.vbp"}).exit_code, 2);
  testing::ProcessOutcome no_output = Dovrek({"-q", sample});
  EXPECT_EQ(no_output.exit_code, 2);
  EXPECT_EQ(no_output.err, "注意: 出力先ファイルが指定されていません。\n");
  testing::ProcessOutcome no_display = Dovrek({});
  EXPECT_EQ(no_display.exit_code, 2);
  EXPECT_NE(no_display.err.find("Usage:"), std::string::npos);
}

TEST_F(DovrekCliTest, BatchRunWritesWhatItIsAskedFor) {
  testing::ProcessOutcome run = Dovrek({"-q", "--text", dir.Native("out/s.txt"), "--workbook",
                                        dir.Native("out/s.xlsx"), "--json", "-", sample});
  // The output folder does not exist: the workbook, written first, fails and stops the run.
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "エラー: " + dir.Native("out/s.xlsx") + ": ファイルが見つかりません。\n");
  EXPECT_EQ(run.out, "");
  std::filesystem::create_directories(dir.Native("out"));
  run = Dovrek(
      {"-q", "-t", dir.Native("out/s.txt"), "-x", dir.Native("out/s.xlsx"), "-j", "-", sample});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("\"Name\": \"AddStock\""), std::string::npos);
  std::string text = testing::ReadFileBytes(dir.Native("out/s.txt"));
  EXPECT_EQ(text.substr(0, 6), "\x81\xA1\x81\xA1\x81\xA1");  // ■ in code page 932
  EXPECT_NE(text.find(EncodeCp932("*    AddStock(basMain.bas)\r\n")), std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(dir.Native("out/s.xlsx")).substr(0, 2), "PK");
}

TEST_F(DovrekCliTest, OverridesAndSettingsChangeTheParsing) {
  // Func on in the settings file; the command line turns Trim on as well.
  dir.Write("bin/Dovrek.ini", "[CHKBOX]\r\nFUNC=1\r\n");
  testing::ProcessOutcome run = Dovrek({"-q", "--trim", "-j", "-", sample});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(
      run.out.find(
          "\"Comment\": \" フォームの読み込み時に在庫一覧を表示する\\n      一覧を初期化する\\n\""),
      std::string::npos)
      << run.out;
  run = Dovrek({"-q", "--no-func", "-j", "-", sample});
  EXPECT_NE(run.out.find("\"Comment\": \" 一覧を初期化する\\n\""), std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(dir.Native("bin/Dovrek.ini")), "[CHKBOX]\r\nFUNC=1\r\n");
}

TEST_F(DovrekCliTest, FailuresNameTheFile) {
  testing::ProcessOutcome missing = Dovrek({"-q", "-j", "-", dir.Native("none.vbp")});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "注意: 指定されたフォルダに vbp ファイルが見つかりません。\n");
  dir.Write("p/p.vbp", "Module=m; gone.bas\r\n");
  testing::ProcessOutcome member = Dovrek({"-q", "-j", "-", dir.Native("p/p.vbp")});
  EXPECT_EQ(member.exit_code, 1);
  EXPECT_EQ(member.err, "エラー: " + dir.Native("p") + "//gone.bas: ファイルが見つかりません。\n");
  EXPECT_EQ(member.out, "");
}

TEST_F(DovrekCliTest, UnattendedRunWithoutADisplay) {
  // No settings: nothing is written and the run ends without a message.
  testing::ProcessOutcome quiet = Dovrek({"/a", sample});
  EXPECT_EQ(quiet.exit_code, 0);
  EXPECT_EQ(quiet.err, "");
  // Txt on: the save dialog has no terminal to ask on, so the run fails saying so.
  dir.Write("bin/Dovrek.ini", "[CHKBOX]\r\nTXT=1\r\n");
  testing::ProcessOutcome nobody = Dovrek({"/A", "\"" + sample + "\""});
  EXPECT_EQ(nobody.exit_code, 1);
  EXPECT_EQ(nobody.err, std::string("エラー: ") + kNoTerminal + "\n");
  // A display that is named but does not answer counts as none.
  std::filesystem::remove(dir.Native("bin/Dovrek.ini"));
  for (auto variables : std::vector<std::vector<std::pair<std::string, std::string>>>{
           {{"DISPLAY", ":55"}},
           {{"QT_QPA_PLATFORM", "wayland"}, {"XDG_RUNTIME_DIR", dir.Native("")}}}) {
    testing::ProcessOutcome silent = program.Run({"/a", sample}, {.environment = variables});
    EXPECT_EQ(silent.exit_code, 0) << variables[0].first << silent.err;
    EXPECT_EQ(silent.err, "") << variables[0].first;
    EXPECT_EQ(program.Run({}, {.environment = variables}).exit_code, 2) << variables[0].first;
  }
  testing::ProcessOutcome missing = Dovrek({"/a", sample, "--text", "x"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "注意: 指定されたフォルダに vbp ファイルが見つかりません。\n");
}

}  // namespace
}  // namespace dovrek

// Runs the built dovrek program as a user would, on real files.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "platform/text_codec.h"
#include "test_support.h"

namespace dovrek {
namespace {

struct Outcome {
  int status;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs a shell command line with no display named and standard input from /dev/null.
Outcome RunCommand(const std::string& command_line, const testing::TempDir& dir) {
  std::string err_file = dir.Native("stderr.txt");
  std::string full = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + command_line +
                     " </dev/null 2>'" + err_file + "'";
  Outcome outcome;
  FILE* pipe = ::popen(full.c_str(), "r");
  std::array<char, 4096> chunk;
  size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) outcome.out.append(chunk.data(), n);
  int status = ::pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.err = testing::ReadFileBytes(err_file);
  return outcome;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

class DovrekCliTest : public ::testing::Test {
 protected:
  DovrekCliTest() {
    // A private copy of the program, so that its Dovrek.ini and Dovrek.xlt are the test's own.
    program = dir.Native("bin/dovrek");
    std::filesystem::create_directories(dir.Native("bin"));
    std::filesystem::copy_file(DOVREK_BINARY, program);
    std::filesystem::path built = std::filesystem::path(DOVREK_BINARY).parent_path() / "Dovrek.xlt";
    if (std::filesystem::exists(built)) std::filesystem::copy_file(built, dir.Native("bin/Dovrek.xlt"));
    sample = std::string(DOVREK_SOURCE_DIR) + "/examples/sample/Sample.vbp";
  }
  Outcome Dovrek(const std::string& args) { return RunCommand(Quote(program) + " " + args, dir); }

  testing::TempDir dir;
  std::string program;
  std::string sample;
};

TEST_F(DovrekCliTest, UsageVersionAndBadUsage) {
  Outcome help = Dovrek("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--text-encoding"), std::string::npos);
  Outcome version = Dovrek("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "dovrek " DOVREK_VERSION "\n");
  EXPECT_EQ(Dovrek("--bogus x.vbp").status, 2);
  Outcome no_output = Dovrek("-q " + Quote(sample));
  EXPECT_EQ(no_output.status, 2);
  EXPECT_EQ(no_output.err, "注意: 出力先ファイルが指定されていません。\n");
  Outcome no_display = Dovrek("");
  EXPECT_EQ(no_display.status, 2);
  EXPECT_NE(no_display.err.find("Usage:"), std::string::npos);
}

TEST_F(DovrekCliTest, BatchRunWritesWhatItIsAskedFor) {
  Outcome run = Dovrek("-q --text " + Quote(dir.Native("out/s.txt")) + " --workbook " +
                       Quote(dir.Native("out/s.xlsx")) + " --json - " + Quote(sample));
  // The output folder does not exist: the workbook, written first, fails and stops the run.
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "エラー: " + dir.Native("out/s.xlsx") + ": ファイルが見つかりません。\n");
  EXPECT_EQ(run.out, "");
  std::filesystem::create_directories(dir.Native("out"));
  run = Dovrek("-q -t " + Quote(dir.Native("out/s.txt")) + " -x " + Quote(dir.Native("out/s.xlsx")) +
               " -j - " + Quote(sample));
  ASSERT_EQ(run.status, 0) << run.err;
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
  Outcome run = Dovrek("-q --trim -j - " + Quote(sample));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"Comment\": \" フォームの読み込み時に在庫一覧を表示する\\n      一覧を初期化する\\n\""),
            std::string::npos)
      << run.out;
  run = Dovrek("-q --no-func -j - " + Quote(sample));
  EXPECT_NE(run.out.find("\"Comment\": \" 一覧を初期化する\\n\""), std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(dir.Native("bin/Dovrek.ini")), "[CHKBOX]\r\nFUNC=1\r\n");
}

TEST_F(DovrekCliTest, FailuresNameTheFile) {
  Outcome missing = Dovrek("-q -j - " + Quote(dir.Native("none.vbp")));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "注意: 指定されたフォルダに vbp ファイルが見つかりません。\n");
  dir.Write("p/p.vbp", "Module=m; gone.bas\r\n");
  Outcome member = Dovrek("-q -j - " + Quote(dir.Native("p/p.vbp")));
  EXPECT_EQ(member.status, 1);
  EXPECT_EQ(member.err, "エラー: " + dir.Native("p") + "//gone.bas: ファイルが見つかりません。\n");
  EXPECT_EQ(member.out, "");
}

TEST_F(DovrekCliTest, UnattendedRunWithoutADisplay) {
  // No settings: nothing is written and the run ends without a message.
  Outcome quiet = Dovrek("/a " + Quote(sample));
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
  // Txt on: the save dialog has no terminal to ask on, so it counts as cancelled.
  dir.Write("bin/Dovrek.ini", "[CHKBOX]\r\nTXT=1\r\n");
  EXPECT_EQ(Dovrek("/A \"" + sample + "\"").status, 0);
  Outcome missing = Dovrek("/a " + Quote(sample) + " --text x");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "注意: 指定されたフォルダに vbp ファイルが見つかりません。\n");
}

}  // namespace
}  // namespace dovrek

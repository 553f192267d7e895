// Runs the built dovrek program as a user would, on real files.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>

#include "console/console_file_dialog.h"
#include "os/temporary_folder.h"
#include "codepage/text_codec.h"
#include "app/dovrek_process.h"
#include "test_support.h"
#include "console/console_messages.h"

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
  EXPECT_EQ(run.err, "エラー: " + dir.Native("out") + ": フォルダが存在しません。\n");
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

// A batch run reads no Dovrek.ini: its options come from the command line, over the file that
// --settings names when one is named.
TEST_F(DovrekCliTest, SettingsOnlyFromTheFileNamed) {
  const std::string beside = dir.Write("bin/Dovrek.ini", "[CHKBOX]\r\nFUNC=1\r\n");
  const std::string named = dir.Write("my.ini", "[CHKBOX]\r\nFUNC=1\r\n");
  const std::string func_and_trim =
      "\"Comment\": \" フォームの読み込み時に在庫一覧を表示する\\n      一覧を初期化する\\n\"";
  const std::string plain = "\"Comment\": \" 一覧を初期化する\\n\"";
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string comment;  // in the JSON
    std::string err_end;
  } cases[] = {
      {{}, 0, plain, "設定ファイル: なし\n"},
      {{"--settings", named, "--trim"}, 0, func_and_trim, "設定ファイル: " + named + "\n"},
      {{"--settings", named, "--no-func"}, 0, plain, "設定ファイル: " + named + "\n"},
      {{"--settings", dir.Native("none.ini")},
       2,
       "",
       "注意: --settings に指定された設定ファイルを読み込めません。\n" + dir.Native("none.ini") +
           ": ファイルが見つかりません。\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-j", "-", sample});
    testing::ProcessOutcome run = Dovrek(args);
    EXPECT_EQ(run.exit_code, c.exit_code) << run.err;
    if (!c.comment.empty()) {
      EXPECT_NE(run.out.find(c.comment), std::string::npos) << run.out;
    }
    ASSERT_GE(run.err.size(), c.err_end.size());
    EXPECT_EQ(run.err.substr(run.err.size() - c.err_end.size()), c.err_end);
  }
  EXPECT_EQ(testing::ReadFileBytes(beside), "[CHKBOX]\r\nFUNC=1\r\n");
  EXPECT_EQ(testing::ReadFileBytes(named), "[CHKBOX]\r\nFUNC=1\r\n");
}

TEST_F(DovrekCliTest, CompleteModeFromTheSettingsOrTheSwitch) {
  dir.Write("p/p.vbp", "Type=Exe\r\nModule=m; m.bas\r\nUserControl=c.ctl\r\nDesigner=r.Dsr\r\n");
  dir.Write("p/m.bas",
            "Attribute VB_Name = \"m\"\r\nFriend Property Get V() As Long\r\n"
            "End Property\r\n");
  dir.Write("p/c.ctl", "Attribute VB_Name = \"c\"\r\nEvent Changed()\r\n");
  const std::string project = dir.Native("p/p.vbp");
  const std::string warning = "情報: 次のファイルが見つからないため、読み込まずに続けました。\n" +
                              dir.Native("p") + "//r.Dsr\n";
  const std::string settings = dir.Write("s.ini", "[EXTENSION]\r\nCOMPLETE=1\r\n");
  testing::ProcessOutcome complete = Dovrek({"--settings", settings, "-j", "-", project});
  ASSERT_EQ(complete.exit_code, 0) << complete.err;
  EXPECT_EQ(complete.err.substr(0, warning.size()), warning);
  EXPECT_NE(complete.err.find("デザイナ 1、プロシージャ 2 (Property Get 1、Event 1)"),
            std::string::npos)
      << complete.err;
  EXPECT_NE(complete.out.find("\"Kind\": \"Event\""), std::string::npos);
  testing::ProcessOutcome off =
      Dovrek({"-q", "--settings", settings, "--no-complete", "-j", "-", project});
  EXPECT_EQ(off.err, "");
  EXPECT_EQ(off.out.find("Kind"), std::string::npos);
  EXPECT_EQ(Dovrek({"-q", "--complete", "-j", "-", project}).out, complete.out);
}

// Complete mode describes the screens unless told not to, and draws them on request.
TEST_F(DovrekCliTest, ScreensFromTheSwitchesAndTheSettings) {
  dir.Write("p/p.vbp", "Type=Exe\r\nForm=f.frm\r\nForm=sub\\f.frm\r\n");
  const std::string form =
      "VERSION 5.00\r\nBegin VB.Form f\r\n   ClientWidth = 3000\r\n   ClientHeight = 1500\r\n"
      "   Begin VB.CommandButton cmdOK\r\n      Caption = \"OK\"\r\n   End\r\nEnd\r\n"
      "Attribute VB_Name = \"f\"\r\nPrivate Sub cmdOK_Click()\r\nEnd Sub\r\n";
  dir.Write("p/f.frm", form);
  dir.Write("p/sub/f.frm", form);
  const std::string project = dir.Native("p/p.vbp");
  const std::string pictures = dir.Native("pictures");
  struct Case {
    std::vector<std::string> args;
    const char* settings;
    int exit_code;
    bool screens;  // the JSON holds the screens
  };
  const Case cases[] = {
      {{"--complete", "--screens-dir", pictures}, "", 0, true},
      {{"--complete", "--no-screens"}, "", 0, false},
      {{"--complete"}, "[EXTENSION]\r\nSCREENS=0\r\n", 0, false},
      {{"--complete", "--screens"}, "[EXTENSION]\r\nSCREENS=0\r\n", 0, true},
      {{"--no-complete"}, "", 0, false},
      {{"--screens-dir", pictures}, "", 2, false},
      {{"--complete", "--no-screens", "--screens-dir", pictures}, "", 2, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"-q", "-j", "-", "--settings", dir.Write("s.ini", c.settings)};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back(project);
    testing::ProcessOutcome run = Dovrek(args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.args[0] << " " << run.err;
    EXPECT_EQ(run.out.find("\"screens\"") != std::string::npos, c.screens) << c.args[0];
  }
  // Two members named f.frm: two pictures, each a PNG.
  for (const char* name : {"f.png", "f-2.png"}) {
    EXPECT_EQ(testing::ReadFileBytes(pictures + "/" + name).substr(0, 4), "\x89PNG") << name;
  }
}

TEST_F(DovrekCliTest, SourcesAreReadInTheEncodingDecidedForTheProject) {
  dir.Write("p/p.vbp", "Type=Exe\r\nModule=m; m.bas\r\nModule=n; n.bas\r\n");
  dir.Write("p/n.bas", "Attribute VB_Name = \"n\"\r\n");
  const std::string project = dir.Native("p/p.vbp");
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> switches;
    std::string comment;
    std::string encoding;
  } cases[] = {
      {"Windows-1252",
       "' Cr\xE9\xE9 par Fran\xE7ois \x96 \xE9t\xE9",
       {"--complete"},
       " Créé par François – été",
       "cp1252"},
      {"UTF-8 without a mark",
       "' A\xC3\xB1o de creaci\xC3\xB3n",
       {"--complete"},
       " Año de creación",
       "utf-8"},
      {"a named encoding wins",
       "' A\xC3\xB1o",
       {"--complete", "--source-encoding", "cp1252"},
       " AÃ±o",
       "cp1252"},
      {"default mode stays code page 932", "' \x82\xA0", {}, " あ", ""},
  };
  for (const auto& c : cases) {
    dir.Write("p/m.bas", "Attribute VB_Name = \"m\"\r\nSub A()\r\n" + c.bytes + "\r\nEnd Sub\r\n");
    std::vector<std::string> args = {"-q", "-j", "-"};
    args.insert(args.end(), c.switches.begin(), c.switches.end());
    args.push_back(project);
    testing::ProcessOutcome run = Dovrek(args);
    ASSERT_EQ(run.exit_code, 0) << c.what << ": " << run.err;
    nlohmann::json json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["procedures"][0]["Comment"], c.comment + "\n") << c.what;
    EXPECT_EQ(json.value("encoding", ""), c.encoding) << c.what;
  }
}

TEST_F(DovrekCliTest, FailuresNameTheFile) {
  testing::ProcessOutcome missing = Dovrek({"-q", "-j", "-", dir.Native("none.vbp")});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "注意: " + dir.Native("none.vbp") + ": ファイルが見つかりません。\n");
  dir.Write("p/p.vbp", "Type=Exe\r\nModule=m; gone.bas\r\n");
  testing::ProcessOutcome member = Dovrek({"-q", "-j", "-", dir.Native("p/p.vbp")});
  EXPECT_EQ(member.exit_code, 1);
  EXPECT_EQ(member.err, "エラー: " + dir.Native("p") + "//gone.bas: ファイルが見つかりません。\n");
  EXPECT_EQ(member.out, "");
}

TEST_F(DovrekCliTest, DashMeansStandardOutput) {
  ASSERT_EQ(Dovrek({"-q", "-t", dir.Native("s.txt"), sample}).exit_code, 0);
  // The text report passes through a temporary file, also when TMPDIR names no folder.
  const char* tmpdir = std::getenv("TMPDIR");
  std::string saved = tmpdir ? tmpdir : "";
  ::setenv("TMPDIR", dir.Native("none").c_str(), 1);
  testing::ProcessOutcome text = Dovrek({"-q", "-t", "-", sample});
  if (tmpdir) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  EXPECT_EQ(text.exit_code, 0) << text.err;
  EXPECT_EQ(text.out, testing::ReadFileBytes(dir.Native("s.txt")));
  testing::ProcessOutcome workbook = Dovrek({"-q", "-x", "-", sample});
  EXPECT_EQ(workbook.exit_code, 0) << workbook.err;
  EXPECT_EQ(workbook.out.substr(0, 2), "PK");
  EXPECT_FALSE(std::filesystem::exists("-"));
}

// The workbook for standard output waits in a private folder: a run that fails afterwards
// writes nothing there and leaves nothing behind.
TEST_F(DovrekCliTest, AWorkbookForStandardOutputWaitsForTheWholeRun) {
  std::filesystem::create_directories(dir.path() / "tmp");
  testing::ProcessLimits limits;
  limits.environment = {{"TMPDIR", dir.Native("tmp")}};
  testing::ProcessOutcome failed =
      program.Run({"-q", "-x", "-", "-j", "/dev/full", sample}, limits);
  EXPECT_EQ(failed.exit_code, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "tmp"));
  testing::ProcessOutcome done = program.Run({"-q", "-x", "-", sample}, limits);
  EXPECT_EQ(done.exit_code, 0) << done.err;
  EXPECT_EQ(done.out.substr(0, 2), "PK");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "tmp"));
}

TEST_F(DovrekCliTest, RefusesWhatStandardOutputCannotTake) {
  struct Case {
    std::vector<std::string> outputs;
    bool terminal;  // standard output is a terminal
    std::string err_start;
  } cases[] = {
      {{"-x", "-"},
       true,
       "注意: "
       "ワークブックは端末には書き出せません。標準出力をファイルかパイプにつなぐか、ファイル名"
       "を指定してください。\n"},
      {{"-t", "-", "-j", "-"}, false, "dovrek: 標準出力に書き出せる出力は 1 つだけです。\n"},
      {{"-j", "-", "-t", "/dev/stdout"},
       false,
       "dovrek: 標準出力に書き出せる出力は 1 つだけです。\n"},
      {{"-j", dir.Native("a"), "/a"}, false, "dovrek: /a の前にオプションは指定できません"},
      {{"-t", dir.Native("a"), "-x", dir.Native("b/../a")},
       false,
       "dovrek: " + dir.Native("b/../a") + ": 2 つの出力に同じファイルが指定されています。\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.outputs;
    args.push_back(sample);
    testing::ProcessLimits limits;
    limits.stdout_terminal = c.terminal;
    limits.environment = {{"LC_ALL", "ja_JP.UTF-8"}};  // the usage errors in Japanese
    testing::ProcessOutcome run = program.Run(args, limits);
    if (run.exit_code == testing::kSetupFailed) GTEST_SKIP() << "no pseudo-terminal";
    EXPECT_EQ(run.exit_code, 2) << c.err_start;
    EXPECT_EQ(run.err.substr(0, c.err_start.size()), c.err_start);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Native("a")));
}

TEST_F(DovrekCliTest, ClosingSummaryUnlessQuiet) {
  testing::ProcessOutcome run = Dovrek({"-t", dir.Native("s.txt"), "-j", "-", sample});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::string head =
      "完了: Zaiko — フォーム 1、標準モジュール 1、クラス モジュール 1、プロシージャ 7 → "
      "テキスト: " +
      dir.Native("s.txt") + "、JSON: 標準出力 (";
  ASSERT_EQ(run.err.substr(0, head.size()), head);
  EXPECT_TRUE(
      std::regex_match(run.err.substr(head.size()),
                       std::regex("([0-9]{1,3} ms|[0-9]+\\.[0-9]{2} 秒)\\)\n設定ファイル: なし\n")))
      << run.err;
  EXPECT_EQ(Dovrek({"-q", "-j", dir.Native("s.json"), sample}).err, "");
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

// A window or unattended run starts by removing the hand-over folders of earlier runs: this
// user's real folders that hold the program's marker, unchanged for more than a day; a link
// inside is removed, not followed. Nothing else in the folder, such as a folder of the user's
// named like one.
TEST_F(DovrekCliTest, StartRemovesStaleHandoverFolders) {
  namespace fs = std::filesystem;
  std::string tmp = dir.Native("tmp");
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(25);
  const std::string marker = std::string("/") + kPrivateFolderMarker;
  std::string outside = dir.Write("outside/keep", "the user's");
  dir.Write("tmp/dovrek-aaaaaa/Zaiko.xlsx", "book");
  dir.Write("tmp/dovrek-aaaaaa" + marker, "");
  fs::create_directory_symlink(dir.Native("outside"), dir.Native("tmp/dovrek-aaaaaa/link"));
  dir.Write("tmp/dovrek-bbbbbb" + marker, "");  // fresh
  dir.Write("tmp/dovrek-toolong" + marker, "");
  dir.Write("tmp/dovrek-dddddd", "a file");
  dir.Write("tmp/dovrek-master/work.bas", "the user's own folder");
  dir.Write("tmp/dovrek-ffffff/x", "a marker that is a link");
  fs::create_symlink(dir.Native("tmp/dovrek-aaaaaa" + marker),
                     dir.Native("tmp/dovrek-ffffff" + marker));
  fs::create_directory_symlink(dir.Native("tmp/dovrek-toolong"), dir.Native("tmp/dovrek-cccccc"));
  for (const char* name :
       {"dovrek-aaaaaa", "dovrek-toolong", "dovrek-dddddd", "dovrek-master", "dovrek-ffffff"}) {
    fs::last_write_time(dir.Native(std::string("tmp/") + name), old);
  }
  std::vector<std::string> kept{"dovrek-bbbbbb", "dovrek-cccccc", "dovrek-dddddd",
                                "dovrek-ffffff", "dovrek-master", "dovrek-toolong"};
  if (::geteuid() == 0) {
    dir.Write("tmp/dovrek-eeeeee" + marker, "another user's");
    ASSERT_EQ(::chown(dir.Native("tmp/dovrek-eeeeee").c_str(), 65534, 65534), 0);
    fs::last_write_time(dir.Native("tmp/dovrek-eeeeee"), old);
    kept.push_back("dovrek-eeeeee");
  }
  const char* saved = std::getenv("TMPDIR");
  std::string before = saved ? saved : "";
  ::setenv("TMPDIR", tmp.c_str(), 1);
  testing::ProcessOutcome run = Dovrek({"/a", dir.Native("missing.vbp")});
  saved ? ::setenv("TMPDIR", before.c_str(), 1) : ::unsetenv("TMPDIR");
  EXPECT_EQ(run.exit_code, 1) << run.err;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(tmp)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(names, kept);
  EXPECT_EQ(testing::ReadFileBytes(outside), "the user's");
}

}  // namespace
}  // namespace dovrek

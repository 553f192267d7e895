// The command line speaks Japanese to a Japanese locale and English to any other: --help, and
// every usage error, its own and the command-line library's.

#include <gtest/gtest.h>

#include "app/dovrek_process.h"
#include "test_support.h"

namespace dovrek {
namespace {

TEST(UsageLanguageTest, HelpAndUsageErrorsFollowTheLocale) {
  testing::TempDir dir;
  testing::ProgramCopy program(dir);
  struct Case {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    std::vector<std::string> args;
    std::string start;  // of standard output for --help, else of standard error
  } cases[] = {
      {"", "", "ja_JP.UTF-8", {"--help"}, "使い方:\n  dovrek                          メイン"},
      {"C", "", "ja_JP.UTF-8", {"--help"}, "Usage:\n  dovrek                          the main"},
      {"", "", "", {"-h"}, "Usage:\n"},
      {"",
       "ja_JP.eucJP",
       "en_US.UTF-8",
       {"--bogus", "p.vbp"},
       "dovrek: 不明なオプションです: --bogus\n\n使い方:\n"},
      {"", "", "en_US.UTF-8", {"--bogus", "p.vbp"}, "dovrek: unknown option: --bogus\n\nUsage:\n"},
      {"ja", "", "", {"-q", "p.vbp", "q.vbp"},
       "dovrek: 複数のプロジェクトには --output-dir か --inventory を指定してください。\n"},
      {"C", "", "", {"-q", "p.vbp", "q.vbp"}, "dovrek: many projects need --output-dir or --inventory\n"},
      {"", "", "ja_JP.UTF-8", {"p.vbp", "-t"}, "dovrek: --text: 値が指定されていません。\n"},
      {"", "", "C.UTF-8", {"p.vbp", "-t"}, "dovrek: --text: a value is missing\n"},
      {"",
       "",
       "ja_JP.UTF-8",
       {"--text-encoding", "latin1", "p.vbp"},
       "dovrek: --text-encoding: latin1 は指定できません。{cp932,utf-8} "
       "のどれかを指定してください。\n"},
      {"",
       "",
       "",
       {"--text-encoding", "latin1", "p.vbp"},
       "dovrek: --text-encoding: latin1 is not one of {cp932,utf-8}\n"},
      {"",
       "",
       "ja_JP.UTF-8",
       {"--cmt", "--no-cmt", "p.vbp"},
       "dovrek: --cmt と --no-cmt は同時に指定できません。\n"},
      {"", "", "ja_JP.UTF-8", {"-q"}, "dovrek: プロジェクト ファイルが指定されていません。\n"},
      {"", "", "", {"-q"}, "dovrek: no project file named\n"},
      {"", "", "ja_JP.UTF-8", {"a.vbp", "b.vbp"}, "dovrek: 引数が多すぎます。\n"},
      {"",
       "",
       "ja_JP.UTF-8",
       {},
       "dovrek: ウィンドウを表示できません (ディスプレイがありません)。\n"},
      {"", "", "", {}, "dovrek: cannot show a window (there is no display)\n"},
  };
  for (const Case& c : cases) {
    testing::ProcessLimits limits;
    limits.environment = {{"LC_ALL", c.lc_all}, {"LC_MESSAGES", c.lc_messages}, {"LANG", c.lang}};
    testing::ProcessOutcome run = program.Run(c.args, limits);
    const bool help = c.args.size() == 1 && (c.args[0] == "--help" || c.args[0] == "-h");
    EXPECT_EQ(run.exit_code, help ? 0 : 2) << c.start;
    const std::string& said = help ? run.out : run.err;
    EXPECT_EQ(said.substr(0, c.start.size()), c.start) << said;
  }
}

}  // namespace
}  // namespace dovrek

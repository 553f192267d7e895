#include "console/console_message_box.h"

#include <gtest/gtest.h>

#include <sstream>

namespace dovrek {
namespace {

TEST(ConsoleMessageBoxTest, PrintsTitleAndMessage) {
  std::ostringstream err;
  ConsoleMessageBox msg(err, nullptr);
  msg.ShowError("a.bas: ファイルが見つかりません。");
  msg.ShowMessage("");
  msg.ShowInformation("i");
  EXPECT_EQ(err.str(), "エラー: a.bas: ファイルが見つかりません。\n注意: \n情報: i\n");
}

TEST(ConsoleMessageBoxTest, ClearsTheProgressLineOnATerminal) {
  std::ostringstream err;
  ConsoleMessageBox msg(err, nullptr, /*clear_line=*/true);
  msg.ShowError("x");
  EXPECT_EQ(err.str(), "\r\x1b[Kエラー: x\n");
}

TEST(ConsoleMessageBoxTest, QuestionsDefaultToNo) {
  struct Case {
    std::istream* terminal;
    bool answer;
  };
  std::istringstream yes("y\n"), other("maybe\n"), empty("");
  for (const Case& c :
       {Case{&yes, true}, Case{&other, false}, Case{&empty, false}, Case{nullptr, false}}) {
    std::ostringstream err;
    ConsoleMessageBox msg(err, c.terminal);
    EXPECT_EQ(msg.Ask("上書きしますか?"), c.answer);
    EXPECT_EQ(err.str().rfind("質問: 上書きしますか? [y/N] ", 0), 0u);
  }
}

}  // namespace
}  // namespace dovrek

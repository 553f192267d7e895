#include "console/console_file_dialog.h"

#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "os/native_path.h"
#include "test_support.h"

namespace dovrek {
namespace {

using testing::TempDir;

struct Answer {
  bool result;
  std::string path;
  std::string prompt;
};

Answer Save(const std::string& typed) {
  std::ostringstream prompt;
  std::istringstream terminal(typed);
  ConsoleFileDialog dialog(prompt, &terminal);
  std::string path = "stale";
  bool result = dialog.ShowSaveDialog("", &path);
  return {result, path, prompt.str()};
}

TEST(ConsoleFileDialogTest, SaveAnswersTheTypedPathMadeAbsolute) {
  TempDir dir;
  struct Case {
    std::string typed;
    bool result;
    std::string path;
  } cases[] = {
      {dir.Native("new.txt") + "\n", true, dir.Native("new.txt")},
      {"  " + dir.Native("new") + " \r\n", true, dir.Native("new")},  // no extension added
      {"rel/out.txt\n", true, MakeAbsolute("rel/out.txt")},
      {"rel\\out.txt\n", true, MakeAbsolute("rel/out.txt")},
      {"\n", false, ""},
      {"   \n" + dir.Native("ignored.txt") + "\n", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    Answer a = Save(c.typed);
    EXPECT_EQ(a.result, c.result) << c.typed;
    EXPECT_EQ(a.path, c.path) << c.typed;
    EXPECT_NE(a.prompt.find("テキスト ファイル (*.txt)"), std::string::npos);
  }
}

TEST(ConsoleFileDialogTest, SaveConfirmsReplacingAnExistingFile) {
  TempDir dir;
  const std::string existing = dir.Write("old.txt", "x");
  Answer yes = Save(existing + "\ny\n");
  EXPECT_TRUE(yes.result);
  EXPECT_EQ(yes.path, existing);
  EXPECT_NE(yes.prompt.find(existing + " は既に存在します。上書きしますか?"), std::string::npos);
  // Typed with "\", it is still the file that is written that is asked about.
  std::string backslashed = existing;
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  EXPECT_NE(Save(backslashed + "\ny\n").prompt.find(existing + " は既に存在します"),
            std::string::npos);

  Answer no_then_other = Save(existing + "\n\n" + dir.Native("other.txt") + "\n");
  EXPECT_TRUE(no_then_other.result);
  EXPECT_EQ(no_then_other.path, dir.Native("other.txt"));
}

TEST(ConsoleFileDialogTest, NoTerminalCancels) {
  std::ostringstream prompt;
  ConsoleFileDialog dialog(prompt, nullptr);
  std::string path = "stale";
  EXPECT_FALSE(dialog.ShowSaveDialog("", &path));
  EXPECT_EQ(path, "");
  EXPECT_EQ(prompt.str(), "");
}

}  // namespace
}  // namespace dovrek

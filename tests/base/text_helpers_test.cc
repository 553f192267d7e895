#include "base/text_helpers.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

TEST(TextHelpersTest, SplitsPathsAtTheLastBackslash) {
  struct Case {
    const char* path;
    const char* folder;
    const char* file;
  } cases[] = {
      {"D:\\work\\app\\app.vbp", "D:\\work\\app", "app.vbp"},
      {" ..\\Common\\clsLog.cls", "..\\Common", "clsLog.cls"},
      {" basMain.bas", "", "basMain.bas"},
      {"D:\\", "D:", ""},
      {"D:\\work\\", "D:\\work", ""},
      {"\\frmMain.frm", "", "frmMain.frm"},
      {"a/b.bas", "", "a/b.bas"},
      {"", "", ""},
      {"a \\ b\t", "a", "b\t"},
      {"　x\\表", "　x", "表"},  // the ideographic space is not trimmed
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.file) << c.path;
  }
}

TEST(TextHelpersTest, DefaultsAndLineFeeds) {
  EXPECT_EQ(ValueOrDefault("", "なし"), "なし");
  EXPECT_EQ(ValueOrDefault(" ", "なし"), " ");
  EXPECT_EQ(CountLineFeeds("a\nb\nc\n"), 3);
  EXPECT_EQ(CountLineFeeds("a\r\nb"), 1);
  EXPECT_EQ(CountLineFeeds("x"), 0);
  EXPECT_EQ(CountLineFeeds(std::string(40000, '\n')), 32767);
}

TEST(TextHelpersTest, CaseInsensitiveOnlyForAsciiLetters) {
  EXPECT_TRUE(StartsWithNoCase("HelpFile=\"x\"", "HELPFILE"));
  EXPECT_FALSE(StartsWithNoCase(" Title=x", "TITLE"));
  EXPECT_TRUE(EqualsNoCase("/A", "/a"));
  EXPECT_FALSE(EqualsNoCase("ａ", "a"));
  EXPECT_EQ(RemoveDoubleQuotes("\"a\"b\""), "ab");
  EXPECT_EQ(CountCharacters("aé表😀"), 4u);
}

}  // namespace
}  // namespace dovrek

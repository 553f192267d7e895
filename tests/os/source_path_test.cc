#include "os/source_path.h"

#include <gtest/gtest.h>

#include "text/line_reader.h"
#include "test_support.h"

namespace dovrek {
namespace {

TEST(SourcePathTest, FindsTheFileInAnyLetterCaseAndOpensWhatItFound) {
  testing::TempDir dir;
  dir.Write("Src/frmMain.frm", "line");
  SourcePath path = SourcePath::Locate(dir.Windows("SRC/FRMMAIN.FRM"));
  EXPECT_EQ(path.display(), dir.Native("SRC/FRMMAIN.FRM"));
  EXPECT_EQ(path.found(), dir.Native("Src/frmMain.frm"));
  EXPECT_TRUE(path.IsFile());
  LineReader reader;
  ASSERT_TRUE(reader.Open(path).ok()) << reader.status().message();
  std::string line;
  ASSERT_TRUE(reader.ReadLine(&line));
  EXPECT_EQ(line, "line");

  SourcePath missing = SourcePath::Locate(dir.Windows("src/other.frm"));
  EXPECT_FALSE(missing.exists());
  Status opened = reader.Open(missing);
  EXPECT_TRUE(opened.IsNotFound());
  EXPECT_EQ(opened.message(), dir.Native("src/other.frm") + ": ファイルが見つかりません。");
  EXPECT_FALSE(SourcePath::Locate(dir.Windows("Src")).IsFile());
  EXPECT_TRUE(SourcePath::FromTyped("").empty());
}

}  // namespace
}  // namespace dovrek

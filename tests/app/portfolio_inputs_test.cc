// Which projects a run over many projects takes, and where their outputs go.

#include "app/portfolio_inputs.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace dovrek {
namespace {

TEST(PortfolioInputsTest, OutputStemsAreThePathsBelowTheSharedFolder) {
  struct Case {
    std::vector<std::string> paths, stems;
  } cases[] = {
      {{"\\w\\RT070\\Mt070.vbp", "\\w\\MT070\\Mt070.vbp"}, {"RT070/Mt070", "MT070/Mt070"}},
      {{"\\w\\a\\App.vbp"}, {"App"}},
      {{"\\w\\App.vbp", "\\w\\sub\\deep\\Lib.vbp"}, {"App", "sub/deep/Lib"}},
      {{"\\w\\App.vbp", "\\w\\App.VBP", "\\w\\App"}, {"App", "App_2", "App_3"}},
      {{"\\w\\.vbp", "\\x\\v.1.vbp"}, {"w/.vbp", "x/v.1"}},
  };
  for (const Case& c : cases) EXPECT_EQ(OutputStems(c.paths), c.stems) << c.paths[0];
}

TEST(PortfolioInputsTest, FoldersAndGroupsGiveTheirProjectsOnce) {
  testing::TempDir dir;
  dir.Write("tree/b/B.vbp", "Type=Exe\r\n");
  dir.Write("tree/a/A.VBP", "Type=Exe\r\n");
  dir.Write("tree/a/notes.txt", "");
  dir.Write("tree/g.vbg", "Project=a\\A.VBP\r\nProject=gone\\Gone.vbp\r\n");
  dir.Write("empty/readme.txt", "");
  std::vector<PortfolioProject> projects = PortfolioProjects(
      {dir.Native("tree"), dir.Native("tree/g.vbg"), dir.Native("empty")});
  std::vector<std::string> got;
  for (const PortfolioProject& p : projects) got.push_back(p.stem + "|" + p.problem);
  EXPECT_EQ(got, (std::vector<std::string>{"tree/a/A|", "tree/b/B|", "tree/gone/Gone|",
                                           "empty|フォルダに vbp ファイルがありません。"}));
  EXPECT_FALSE(projects[2].path.exists());
}

}  // namespace
}  // namespace dovrek

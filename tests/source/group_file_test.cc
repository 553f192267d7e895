// Reading the projects a group file (.vbg) names.

#include "source/group_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace dovrek {
namespace {

TEST(GroupFileTest, NamesTheProjectsRelativeToTheGroupFolder) {
  testing::TempDir dir;
  const std::string folder = dir.Windows("g");
  struct Case {
    std::string group;
    std::vector<std::string> projects;
  } cases[] = {
      {"VBGROUP 5.0\r\nStartupProject=App\\App.vbp\r\nProject=..\\Lib\\Lib.vbp\r\n",
       {folder + "\\App\\App.vbp", folder + "\\..\\Lib\\Lib.vbp"}},
      // Names in code page 932, a key in another letter case, a project named twice, an
      // absolute path, and lines that name no project.
      {"VBGROUP 5.0\r\nproject=\x8C\x76\x8E\x5A.vbp\r\nProject=\x8C\x76\x8E\x5A.vbp\r\n"
       "Project=C:\\vb\\X.vbp\r\nStartup=1\r\n",
       {folder + "\\計算.vbp", "C:\\vb\\X.vbp"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    dir.Write("g/group.vbg", c.group);
    std::vector<std::string> projects;
    ASSERT_TRUE(ReadGroupFile(SourcePath::Locate(folder + "\\group.vbg"), &projects).ok());
    EXPECT_EQ(projects, c.projects) << c.group;
  }
  std::vector<std::string> none;
  EXPECT_FALSE(ReadGroupFile(SourcePath::Locate(folder + "\\missing.vbg"), &none).ok());
}

}  // namespace
}  // namespace dovrek

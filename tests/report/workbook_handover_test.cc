#include "report/workbook_handover.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "os/replacing_file.h"
#include "test_support.h"

namespace dovrek {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

// Saves fixed bytes where the hand-over says, as the workbook report saves its book.
WorkbookSaver Writes(std::string bytes) {
  return [bytes](const std::string& native_path, OutputTransaction* transaction) {
    return WriteWholeFile(native_path, bytes, transaction);
  };
}

TEST(WorkbookHandoverTest, SaveToFileReplacesTheFileFollowingLinks) {
  TempDir dir;
  std::string target = dir.Write("spec.xlsx", "old report");
  EXPECT_TRUE(SaveToFileHandover(target).HandOver(Writes("new report"), "").ok());
  EXPECT_EQ(ReadFileBytes(target), "new report");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
            1);  // no temporary left
  std::string real = dir.Write("real.xlsx", "old");
  std::filesystem::create_symlink(real, dir.path() / "link.xlsx");
  EXPECT_TRUE(SaveToFileHandover(dir.Native("link.xlsx")).HandOver(Writes("new"), "").ok());
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.xlsx"));
  EXPECT_EQ(ReadFileBytes(real), "new");
  EXPECT_TRUE(SaveToFileHandover("/dev/null").HandOver(Writes("x"), "").ok());
  EXPECT_EQ(SaveToFileHandover(dir.Native("missing/x.xlsx")).HandOver(Writes("x"), "").message(),
            dir.Native("missing") + ": フォルダが存在しません。");
  EXPECT_NE(SaveToFileHandover("/dev/full").HandOver(Writes("x"), "").message().find("/dev/full: "),
            std::string::npos);
}

}  // namespace
}  // namespace dovrek

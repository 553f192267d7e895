#include "report/workbook_handover.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "test_support.h"

namespace dovrek {
namespace {

using testing::ReadFileBytes;
using testing::RecordingMessageBox;
using testing::TempDir;

// A saver that writes fixed bytes, or fails after writing half of them.
WorkbookSaver Saver(const std::string& bytes, bool fail = false, std::string* used = nullptr) {
  return [=](const std::string& path, std::string* error) {
    if (used) *used = path;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
      *error = "cannot open " + path;
      return false;
    }
    std::fwrite(bytes.data(), 1, fail ? bytes.size() / 2 : bytes.size(), out);
    std::fclose(out);
    if (fail) *error = "disk full";
    return !fail;
  };
}

TEST(WorkbookHandoverTest, SaveToFileReplacesOnlyWhenComplete) {
  TempDir dir;
  std::string target = dir.Write("spec.xlsx", "old report");
  std::string error;
  EXPECT_FALSE(SaveToFileHandover(target).HandOver(Saver("new report", true), "", &error));
  EXPECT_EQ(error, "disk full");
  EXPECT_EQ(ReadFileBytes(target), "old report");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
  std::string used;
  EXPECT_TRUE(SaveToFileHandover(target).HandOver(Saver("new report", false, &used), "", &error));
  EXPECT_NE(used, target);
  EXPECT_EQ(ReadFileBytes(target), "new report");
  EXPECT_TRUE(SaveToFileHandover(dir.Native("fresh.xlsx")).HandOver(Saver("x"), "", &error));
  EXPECT_EQ(ReadFileBytes(dir.Native("fresh.xlsx")), "x");
}

TEST(WorkbookHandoverTest, SaveToFileFollowsLinksAndWritesDevicesInPlace) {
  TempDir dir;
  std::string real = dir.Write("real.xlsx", "old");
  std::filesystem::create_symlink(real, dir.path() / "link.xlsx");
  std::string error;
  EXPECT_TRUE(SaveToFileHandover(dir.Native("link.xlsx")).HandOver(Saver("new"), "", &error));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.xlsx"));
  EXPECT_EQ(ReadFileBytes(real), "new");
  std::string used;
  EXPECT_TRUE(SaveToFileHandover("/dev/null").HandOver(Saver("x", false, &used), "", &error));
  EXPECT_EQ(used, "/dev/null");
  EXPECT_FALSE(SaveToFileHandover(dir.Native("missing/x.xlsx")).HandOver(Saver("x"), "", &error));
  EXPECT_NE(error.find("missing/x.xlsx"), std::string::npos);
}

TEST(WorkbookHandoverTest, NamesTheFileAfterTheProject) {
  EXPECT_EQ(WorkbookFileName("Hanbai"), "Hanbai.xlsx");
  EXPECT_EQ(WorkbookFileName(""), "Dovrek.xlsx");
  EXPECT_EQ(WorkbookFileName(".."), "Dovrek.xlsx");
  EXPECT_EQ(WorkbookFileName("a/b"), "a_b.xlsx");
  EXPECT_EQ(WorkbookFileName("販売 管理"), "販売 管理.xlsx");
}

TEST(WorkbookHandoverTest, OpensInAPrivateFolderAndSaysWhereWhenNoViewerStarts) {
  struct Case {
    std::vector<std::string> opener;
    bool opened;
  } cases[] = {{{"true"}, true}, {{"false"}, false}, {{"/nonexistent/opener"}, false}, {{"sh", "-c", "exit 0", "sh"}, true}};
  for (const Case& c : cases) {
    RecordingMessageBox msg;
    OpenInDesktopHandover handover(msg, c.opener);
    std::string error;
    ASSERT_TRUE(handover.HandOver(Saver("book"), "Hanbai", &error)) << error;
    std::filesystem::path saved = handover.saved_path();
    EXPECT_EQ(saved.filename(), "Hanbai.xlsx");
    EXPECT_EQ(ReadFileBytes(saved.string()), "book");
    struct stat st;
    ASSERT_EQ(::stat(saved.parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    if (c.opened) {
      EXPECT_TRUE(msg.shown.empty()) << c.opener[0];
    } else {
      ASSERT_EQ(msg.shown.size(), 1u) << c.opener[0];
      EXPECT_EQ(msg.shown[0].rfind("情報|", 0), 0u);
      EXPECT_NE(msg.shown[0].find(saved.string()), std::string::npos);
    }
    std::filesystem::remove_all(saved.parent_path());
  }
}

TEST(WorkbookHandoverTest, FailedSaveInTheTemporaryFolderIsAFailure) {
  RecordingMessageBox msg;
  OpenInDesktopHandover handover(msg, {"true"});
  std::string error, used;
  EXPECT_FALSE(handover.HandOver(Saver("book", true, &used), "", &error));
  EXPECT_EQ(error, "disk full");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(used).parent_path()));
  EXPECT_TRUE(msg.shown.empty());
}

}  // namespace
}  // namespace dovrek

#include "app/desktop_handover.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "os/replacing_file.h"
#include "test_support.h"

namespace dovrek {
namespace {

using testing::ReadFileBytes;
using testing::RecordingMessageBox;

// Saves fixed bytes where the hand-over says, as the workbook report saves its book.
WorkbookSaver Writes(std::string bytes) {
  return [bytes](const std::string& native_path, OutputTransaction*) {
    return WriteWholeFile(native_path, bytes);
  };
}

TEST(DesktopHandoverTest, NamesTheFileAfterTheProject) {
  EXPECT_EQ(WorkbookFileName("Hanbai"), "Hanbai.xlsx");
  EXPECT_EQ(WorkbookFileName(""), "Dovrek.xlsx");
  EXPECT_EQ(WorkbookFileName(".."), "Dovrek.xlsx");
  EXPECT_EQ(WorkbookFileName("a/b"), "a_b.xlsx");
  EXPECT_EQ(WorkbookFileName("販売 管理"), "販売 管理.xlsx");
}

TEST(DesktopHandoverTest, ShortensALongNameToFitTheFileSystemAtACharacterBoundary) {
  std::string japanese;
  for (int i = 0; i < 90; ++i) japanese += "販";
  struct Case {
    std::string name;
    std::string expected;
  } cases[] = {{std::string(250, 'a'), std::string(250, 'a') + ".xlsx"},  // 255 bytes fit
               {std::string(251, 'a'), std::string(250, 'a') + ".xlsx"},
               {japanese, japanese.substr(0, 83 * 3) + ".xlsx"}};
  for (const Case& c : cases) EXPECT_EQ(WorkbookFileName(c.name), c.expected) << c.name.size();
  RecordingMessageBox msg;
  OpenerWatch watch;
  OpenInDesktopHandover handover(msg, watch, {"true"});
  ASSERT_TRUE(handover.HandOver(Writes("book"), japanese).ok());
  EXPECT_EQ(ReadFileBytes(handover.saved_path()), "book");
  std::filesystem::remove_all(std::filesystem::path(handover.saved_path()).parent_path());
}

TEST(DesktopHandoverTest, CutTextsInformationNamesAtMostTwentyProcedures) {
  std::vector<std::string> procedures;
  for (int i = 0; i < 22; ++i) procedures.push_back("P" + std::to_string(i) + "(m.bas)");
  std::string text = CutTextsInformation(procedures);
  EXPECT_NE(text.find("\nP19(m.bas)\nほか 2 個"), std::string::npos) << text;
  EXPECT_EQ(text.find("P20("), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 21);
}

TEST(DesktopHandoverTest, OpensInAPrivateFolderAndSaysWhereWhenNoViewerStarts) {
  struct Case {
    std::vector<std::string> opener;
    bool opened;
  } cases[] = {{{"true"}, true},
               {{"false"}, false},
               {{"/nonexistent/opener"}, false},
               {{"sh", "-c", "exit 0", "sh"}, true}};
  for (const Case& c : cases) {
    RecordingMessageBox msg;
    OpenerWatch watch;
    OpenInDesktopHandover handover(msg, watch, c.opener);
    ASSERT_TRUE(handover.HandOver(Writes("book"), "Hanbai").ok());
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

// The children of this process that have ended but not been waited for.
int Zombies() {
  int count = 0;
  const std::string parent = std::to_string(::getpid());
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::string stat = ReadFileBytes((entry.path() / "stat").string());
    size_t end = stat.rfind(')');  // the command name may hold blanks and parentheses
    if (end == std::string::npos) continue;
    std::istringstream fields(stat.substr(end + 1));
    std::string state, ppid;
    fields >> state >> ppid;
    if (state == "Z" && ppid == parent) ++count;
  }
  return count;
}

// An opener that runs on past the verdict wait (it keeps a viewer open) is still waited for
// when it ends, whether the verdict was awaited in the hand-over or in the background.
TEST(DesktopHandoverTest, AnOpenerThatRunsOnLeavesNoZombie) {
  for (OpenerWait wait : {OpenerWait::kHere, OpenerWait::kInBackground}) {
    int before = Zombies();
    RecordingMessageBox msg;
    OpenerWatch watch;
    OpenInDesktopHandover handover(msg, watch, {"sh", "-c", "sleep 0.3", "sh"}, wait,
                                   std::chrono::milliseconds(50));
    ASSERT_TRUE(handover.HandOver(Writes("book"), "Hanbai").ok());
    watch.AwaitVerdicts();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(Zombies(), before);
    EXPECT_TRUE(msg.shown.empty());
    std::filesystem::remove_all(std::filesystem::path(handover.saved_path()).parent_path());
  }
}

// A viewer that runs on does not keep the program from ending: the watch stops following it.
TEST(DesktopHandoverTest, TheWatchEndsWithoutWaitingForAViewerThatRunsOn) {
  auto start = std::chrono::steady_clock::now();
  {
    RecordingMessageBox msg;
    OpenerWatch watch;
    OpenInDesktopHandover handover(msg, watch, {"sleep", "30"}, OpenerWait::kInBackground,
                                   std::chrono::milliseconds(50));
    ASSERT_TRUE(handover.HandOver(Writes("book"), "Hanbai").ok());
    std::filesystem::remove_all(std::filesystem::path(handover.saved_path()).parent_path());
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// In the background the hand-over returns at once; a failed opener is told afterwards.
TEST(DesktopHandoverTest, InTheBackgroundTheHandOverDoesNotWaitForTheVerdict) {
  RecordingMessageBox msg;
  OpenerWatch watch;
  OpenInDesktopHandover handover(msg, watch, {"sh", "-c", "sleep 0.5; exit 1"},
                                 OpenerWait::kInBackground);
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(handover.HandOver(Writes("book"), "Hanbai").ok());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
  EXPECT_TRUE(msg.shown.empty());
  watch.AwaitVerdicts();
  ASSERT_EQ(msg.shown.size(), 1u);
  EXPECT_NE(msg.shown[0].find(handover.saved_path()), std::string::npos);
  std::filesystem::remove_all(std::filesystem::path(handover.saved_path()).parent_path());
}

// An empty TMPDIR means the usual /tmp, as the C library reads it.
TEST(DesktopHandoverTest, AnEmptyTmpdirFallsBackToTmp) {
  struct RestoreTmpdir {
    const char* saved = std::getenv("TMPDIR");
    std::string before = saved ? saved : "";
    ~RestoreTmpdir() { saved ? ::setenv("TMPDIR", before.c_str(), 1) : ::unsetenv("TMPDIR"); }
  } restore;
  ::setenv("TMPDIR", "", 1);
  RecordingMessageBox msg;
  OpenerWatch watch;
  OpenInDesktopHandover handover(msg, watch, {"true"});
  EXPECT_NO_THROW(EXPECT_TRUE(handover.HandOver(Writes("book"), "Hanbai").ok()));
  std::filesystem::path saved = handover.saved_path();
  EXPECT_EQ(saved.parent_path().parent_path(), "/tmp");
  if (!saved.empty()) std::filesystem::remove_all(saved.parent_path());
}

}  // namespace
}  // namespace dovrek

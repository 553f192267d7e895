// Reports written where other users reach: links planted in shared folders, files that belong
// to someone else, read-only folders, and runs ended by a signal half-way through a report.
// Tests that need a second user run as root and switch to "nobody"; they skip elsewhere.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include "app/dovrek_process.h"

namespace dovrek {
namespace {

using testing::ProcessOutcome;
using testing::ProgramCopy;
using testing::ReadFileBytes;
using testing::TempDir;

constexpr uid_t kNobody = 65534;
constexpr char kEarlier[] = "earlier report\r\n";

class SharedTargetTest : public ::testing::Test {
 protected:
  SharedTargetTest() : program(dir) {
    // Another user must reach the program, the project and the outputs: the source tree may
    // lie where only root can read (under /root), so the sample project is copied here.
    ::chmod(dir.path().c_str(), 0755);
    std::filesystem::copy(std::string(DOVREK_SOURCE_DIR) + "/examples/sample", dir.Native("sample"),
                          std::filesystem::copy_options::recursive);
    sample = dir.Native("sample/Sample.vbp");
  }

  ProcessOutcome Run(const char* option, const std::string& target,
                     testing::ProcessLimits limits = {}) {
    return program.Run({"-q", option, target, sample}, limits);
  }

  // Owner, group and permission bits of a file.
  static std::tuple<uid_t, gid_t, mode_t> Ownership(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return {st.st_uid, st.st_gid, st.st_mode & 07777};
  }

  // The names in a folder that start with ".dovrek-": temporary files left behind.
  static std::vector<std::string> Temporaries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::string name = entry.path().filename().string();
      if (name.rfind(".dovrek-", 0) == 0) names.push_back(name);
    }
    return names;
  }

  TempDir dir;
  ProgramCopy program;
  std::string sample;
};

// In a sticky folder anyone may write, a link is followed only when it belongs to the caller or
// to the folder's owner, as the kernel's protected_symlinks rule has it.
TEST_F(SharedTargetTest, LinksOfOtherUsersInSharedFoldersAreNotFollowed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant another user's link";
  struct Case {
    uid_t link_owner, folder_owner;
    bool followed;
  } cases[] = {{kNobody, 0, false}, {0, 0, true}, {kNobody, kNobody, true}};
  for (const Case& c : cases) {
    std::string victim = dir.Write("private/victim", "victim");
    std::string shared = dir.Native("shared");
    std::filesystem::create_directories(shared);
    ASSERT_EQ(::chown(shared.c_str(), c.folder_owner, c.folder_owner), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    std::string link = shared + "/report.txt";
    std::filesystem::create_symlink(victim, link);
    ASSERT_EQ(::lchown(link.c_str(), c.link_owner, c.link_owner), 0);
    ProcessOutcome run = Run("-t", link);
    if (c.followed) {
      EXPECT_EQ(run.exit_code, 0) << c.link_owner << run.err;
      EXPECT_NE(ReadFileBytes(victim), "victim") << c.link_owner;
    } else {
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_EQ(run.err, "エラー: " + link +
                             ": 共有フォルダーにある他のユーザーのシンボリック "
                             "リンクはたどりません。\n");
      EXPECT_EQ(ReadFileBytes(victim), "victim");
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    std::filesystem::remove_all(shared);
  }
}

// A report, workbook or JSON file written over another user's file keeps that user, the group
// and the permission bits, whatever the caller's umask.
TEST_F(SharedTargetTest, AReplacedFileKeepsItsOwnerGroupAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to own another user's file";
  for (const char* option : {"-t", "-x", "-j"}) {
    std::string target = dir.Write("out/report", kEarlier);
    ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
    ProcessOutcome run = Run(option, target);
    EXPECT_EQ(run.exit_code, 0) << option << run.err;
    EXPECT_NE(ReadFileBytes(target), kEarlier) << option;
    EXPECT_EQ(Ownership(target), std::make_tuple(kNobody, gid_t{kNobody}, mode_t{0604})) << option;
  }
}

// A folder that takes no new file: an existing file the user may write is rewritten in place;
// a new file there still fails.
TEST_F(SharedTargetTest, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
  std::optional<uid_t> user = testing::UnprivilegedUser();
  std::string folder = dir.Native("locked");
  std::string target = dir.Write("locked/report", kEarlier);
  if (user) {
    ASSERT_EQ(::chown(target.c_str(), *user, *user), 0);
  }
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  ProcessOutcome run = Run("-t", target, {.user = user});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::string report = ReadFileBytes(target);
  EXPECT_NE(report.find("Zaiko.exe"), std::string::npos) << report;
  ProcessOutcome fresh = Run("-t", folder + "/new", {.user = user});
  EXPECT_EQ(fresh.exit_code, 1);
  EXPECT_EQ(fresh.err,
            "エラー: " + folder + "/new: 書き込みできません。(アクセスが拒否されました)\n");
  ::chmod(folder.c_str(), 0755);
}

// SIGTERM, SIGINT or SIGHUP while a report is written removes its temporary file and ends the
// program by that signal; the earlier report stays.
TEST_F(SharedTargetTest, ASignalDuringAWriteRemovesTheTemporaryFile) {
  std::string vbp = testing::WriteLargeProject(dir);
  std::string out = dir.Native("out");
  std::string target = dir.Write("out/report.txt", kEarlier);
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    pid_t pid = program.Start({"-q", "-t", target, vbp});
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Temporaries(out).empty() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ASSERT_FALSE(Temporaries(out).empty()) << "no report was started";
    ::kill(pid, signal_number);
    ProcessOutcome run = program.Finish(pid);
    EXPECT_EQ(run.signal, signal_number) << run.exit_code << run.err;
    EXPECT_EQ(Temporaries(out), std::vector<std::string>{}) << signal_number;
    EXPECT_EQ(ReadFileBytes(target), kEarlier) << signal_number;
  }
}

}  // namespace
}  // namespace dovrek

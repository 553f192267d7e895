// Where outputs land when paths are spelt unusually or lead through links other users planted,
// and how outputs are put in place together: nothing of the user's but the outputs is touched,
// and a run that fails changes none of them. Tests that need a second user run as root and
// skip elsewhere.

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_line.h"
#include "app/dovrek_process.h"
#include "os/output_transaction.h"
#include "os/replacing_file.h"

namespace dovrek {
namespace {

namespace fs = std::filesystem;
using testing::ProcessOutcome;
using testing::ReadFileBytes;
using testing::TempDir;

constexpr uid_t kNobody = 65534;
constexpr char kEarlier[] = "earlier\r\n";

// Two outputs that land on one file are bad usage whether or not the file exists, however the
// path is spelt; the null device may take two outputs.
TEST(OutputPathsTest, OutputsLandingOnOneFileAreRefused) {
  TempDir dir;
  fs::create_directories(dir.path() / "d/sub");
  fs::create_directory_symlink(dir.path() / "d", dir.path() / "l");
  fs::create_directory_symlink(dir.path() / "d/sub", dir.path() / "l2");
  fs::create_symlink(dir.path() / "d/y", dir.path() / "dangling");
  struct Case {
    std::string text, json;
    bool refused;
  } cases[] = {
      {dir.Native("d/x"), dir.Native("l/x"), true},
      {dir.Native("dangling"), dir.Native("d/y"), true},
      {dir.Native("d") + "\\x", dir.Native("d/x"), true},
      {dir.Native("d/sub/../x"), dir.Native("l2/../x"), true},
      {dir.Native("l2/../x"), dir.Native("x"), false},
      {"/dev/null", "/dev/null", false},
  };
  for (const Case& c : cases) {
    CommandLine line = ParseCommandLine({"-t", c.text, "-j", c.json, "p.vbp"});
    EXPECT_EQ(line.mode, c.refused ? RunMode::kUsageError : RunMode::kBatch)
        << c.text << " " << c.json;
  }
}

// A run that has written every output but cannot rename one of them into place (a folder
// appeared at its name) replaces none of them.
TEST(OutputPathsTest, ARenameThatWouldFailStopsEveryRename) {
  TempDir dir;
  std::string first = dir.Write("first.txt", kEarlier);
  std::string second = dir.Native("second.txt");
  OutputTransaction transaction;
  for (const std::string& path : {first, second}) {
    ASSERT_TRUE(WriteWholeFile(path, "new", &transaction).ok()) << path;
  }
  fs::create_directory(second);
  Status released = transaction.Commit();
  EXPECT_EQ(released.message(), second + ": パス/ファイル アクセス エラーです。(フォルダです)");
  EXPECT_EQ(ReadFileBytes(first), kEarlier);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);  // nothing left behind
}

// A file written in a transaction waits for its commit: dropped, the transaction leaves the
// earlier file and nothing beside it; without a transaction the file is replaced at once.
TEST(OutputPathsTest, ATransactionDroppedLeavesTheFilesAsTheyWere) {
  for (bool in_transaction : {true, false}) {
    TempDir dir;
    std::string target = dir.Write("report.txt", kEarlier);
    {
      OutputTransaction transaction;
      ASSERT_TRUE(WriteWholeFile(target, "new", in_transaction ? &transaction : nullptr).ok());
    }
    EXPECT_EQ(ReadFileBytes(target), in_transaction ? kEarlier : "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
  }
}

// Runs `body` in a child process as "nobody" with the given supplementary groups; answers
// whether it succeeded.
bool AsNobodyWithGroups(const std::vector<gid_t>& groups, const std::function<bool()>& body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    bool became = ::setgroups(groups.size(), groups.data()) == 0 &&
                  ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                  ::setresuid(kNobody, kNobody, kNobody) == 0;
    ::_exit(became && body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A file replaced by a user who is not root keeps its group when the user is a member of it;
// otherwise the file comes to the user's own group without the old group's permissions.
TEST(OutputPathsTest, AReplacedFileKeepsItsGroupOnlyWhereTheUserMay) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a member of other groups";
  constexpr gid_t kMemberGroup = 100;
  struct Case {
    gid_t group;
    gid_t expected_group;
    mode_t expected_mode;
  } cases[] = {{kMemberGroup, kMemberGroup, 0664}, {0, kNobody, 0604}};
  for (const Case& c : cases) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    std::string target = dir.Write("report.txt", kEarlier);
    ASSERT_EQ(::chown(target.c_str(), kNobody, c.group), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0664), 0);
    EXPECT_TRUE(
        AsNobodyWithGroups({kMemberGroup}, [&] { return WriteWholeFile(target, "new").ok(); }));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(st.st_gid, c.expected_group) << c.group;
    EXPECT_EQ(st.st_mode & 07777, c.expected_mode) << c.group;
  }
}

class OutputPathsRunTest : public ::testing::Test {
 protected:
  OutputPathsRunTest() : program(dir) {
    // Another user must reach the program, the project and the outputs.
    ::chmod(dir.path().c_str(), 0755);
    fs::copy(std::string(DOVREK_SOURCE_DIR) + "/examples/sample", dir.Native("sample"),
             fs::copy_options::recursive);
    sample = dir.Native("sample/Sample.vbp");
    fs::create_directory(dir.Native("tmp"));
    ::chmod(dir.Native("tmp").c_str(), 01777);
  }

  ProcessOutcome Run(std::vector<std::string> args, std::optional<uid_t> user = std::nullopt) {
    args.insert(args.begin(), "-q");
    args.push_back(sample);
    return program.Run(args, {.user = user, .environment = {{"TMPDIR", dir.Native("tmp")}}});
  }

  TempDir dir;
  testing::ProgramCopy program;
  std::string sample;
};

// As root, a link another user put one folder up in a shared sticky folder is not followed,
// neither to replace a file nor to make one; the caller's own link is.
TEST_F(OutputPathsRunTest, LinksOfOtherUsersInSharedFoldersAreNotFollowedAnywhereInThePath) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant another user's link";
  std::string shared = dir.Native("shared");
  fs::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  std::string victim = dir.Write("private/report.txt", kEarlier);
  struct Case {
    uid_t link_owner;
    const char* option;
    const char* name;
    bool followed;
  } cases[] = {{kNobody, "-t", "report.txt", false},
               {kNobody, "-j", "new.json", false},
               {0, "-t", "report.txt", true}};
  for (const Case& c : cases) {
    std::string link = shared + "/out";
    fs::create_directory_symlink(dir.Native("private"), link);
    ASSERT_EQ(::lchown(link.c_str(), c.link_owner, c.link_owner), 0);
    std::string output = link + "/" + c.name;
    ProcessOutcome run = Run({c.option, output});
    if (c.followed) {
      EXPECT_EQ(run.exit_code, 0) << run.err;
      EXPECT_NE(ReadFileBytes(victim), kEarlier);
    } else {
      EXPECT_EQ(run.exit_code, 1) << c.name;
      EXPECT_EQ(run.err,
                "エラー: " + output +
                    ": 共有フォルダーにある他のユーザーのシンボリック リンクはたどりません。(" +
                    link + ")\n");
      EXPECT_EQ(ReadFileBytes(victim), kEarlier);
      EXPECT_FALSE(fs::exists(dir.Native("private/new.json")));
    }
    fs::remove(link);
  }
}

// A writable file in a folder that takes no new file is rewritten in place only once every
// other output is ready: an output that fails first leaves it as it was, and nothing behind.
TEST_F(OutputPathsRunTest, AnInPlaceOutputWaitsForEveryOtherOutput) {
  std::optional<uid_t> user = testing::UnprivilegedUser();
  std::string folder = dir.Native("locked");
  std::string target = dir.Write("locked/report.txt", kEarlier);
  if (user) {
    ASSERT_EQ(::chown(target.c_str(), *user, *user), 0);
  }
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  ProcessOutcome run = Run({"-t", target, "-j", "/dev/full"}, user);
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_EQ(ReadFileBytes(target), kEarlier);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Native("tmp")), {}), 0);
}

// An output that names a file the run reads, by any name, is bad usage and changes nothing.
TEST_F(OutputPathsRunTest, AnOutputOverAnInputIsRefused) {
  fs::create_symlink(sample, dir.Native("project-link.vbp"));
  struct Case {
    const char* option;
    std::string output;
    std::string input;
  } cases[] = {
      {"-t", sample, sample},
      {"-x", dir.Native("project-link.vbp"), sample},
      {"-j", dir.Native("sample/basMain.bas"), dir.Native("sample/basMain.bas")},
      {"-j", program.template_path(), program.template_path()},
  };
  for (const Case& c : cases) {
    std::string before = ReadFileBytes(c.input);
    ProcessOutcome run = Run({c.option, c.output});
    EXPECT_EQ(run.exit_code, 2) << c.output << run.err;
    EXPECT_EQ(run.err, "注意: " + c.output + ": 出力先に入力ファイルが指定されています。\n");
    EXPECT_EQ(ReadFileBytes(c.input), before) << c.output;
  }
}

}  // namespace
}  // namespace dovrek

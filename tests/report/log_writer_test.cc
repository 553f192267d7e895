#include "report/log_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "codepage/text_codec.h"
#include "test_support.h"

namespace dovrek {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

size_t FilesIn(const TempDir& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++n;
  return n;
}

TEST(LogWriterTest, BlankNameDoesNothing) {
  for (const std::string name : {"", " ", "   "}) {
    LogWriter log;
    log.SetLogFileName(name);
    EXPECT_TRUE(log.Clear().ok());
    EXPECT_TRUE(log.WriteLine("x").ok());
    EXPECT_TRUE(log.Close().ok());
    EXPECT_EQ(log.LogFileName(), name);
    if (!name.empty()) {
      EXPECT_FALSE(std::filesystem::exists(name)) << '"' << name << '"';
    }
  }
}

TEST(LogWriterTest, WritesLinesWithCrLfInCallOrder) {
  TempDir dir;
  LogWriter log;
  log.SetLogFileName(dir.Native("out.txt"));
  ASSERT_TRUE(log.Clear().ok());
  EXPECT_TRUE(log.WriteLine("one").ok());
  EXPECT_TRUE(log.WriteLine("").ok());
  EXPECT_TRUE(log.WriteLine("a\nb").ok());  // a line feed inside a line stays bare
  ASSERT_TRUE(log.Close().ok());
  EXPECT_EQ(ReadFileBytes(dir.Native("out.txt")), "one\r\n\r\na\nb\r\n");
}

TEST(LogWriterTest, EncodesEachLine) {
  struct Case {
    Encoding encoding;
    std::vector<std::string> lines;
    std::string bytes;
  } cases[] = {
      {Encoding::kCp932, {"■：한"}, "\x81\xA1\x81\x46?\r\n"},
      {Encoding::kUtf8, {"■：한"}, "■：한\r\n"},
      {Encoding::kCp1252, {"é€Ÿ■"}, "\xE9\x80\x9F?\r\n"},
      // A sequence cut short at the end of a line stays within its line.
      {Encoding::kCp932, {"a\xE3\x81", "b"}, "a?\r\nb\r\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    LogWriter log(c.encoding);
    log.SetLogFileName(dir.Native("out.txt"));
    ASSERT_TRUE(log.Clear().ok());
    for (const std::string& line : c.lines) ASSERT_TRUE(log.WriteLine(line).ok());
    ASSERT_TRUE(log.Close().ok());
    EXPECT_EQ(ReadFileBytes(dir.Native("out.txt")), c.bytes);
  }
}

TEST(LogWriterTest, ClearCreatesOrTruncates) {
  TempDir dir;
  std::string existing = dir.Write("old.txt", "old content\r\n");
  for (const std::string& name : {std::string("new.txt"), std::string("old.txt")}) {
    LogWriter log;
    log.SetLogFileName(dir.Native(name));
    ASSERT_TRUE(log.Clear().ok());
    ASSERT_TRUE(log.Close().ok());
    EXPECT_EQ(ReadFileBytes(dir.Native(name)), "") << name;
  }
}

// Lines written without Clear, or after Close, start the file afresh: nothing is appended.
TEST(LogWriterTest, WriteLineWithoutClearStartsTheFile) {
  TempDir dir;
  dir.Write("out.txt", "first\r\n");
  LogWriter log;
  log.SetLogFileName(dir.Native("out.txt"));
  ASSERT_TRUE(log.WriteLine("second").ok());
  ASSERT_TRUE(log.Close().ok());
  EXPECT_EQ(ReadFileBytes(dir.Native("out.txt")), "second\r\n");
  ASSERT_TRUE(log.WriteLine("third").ok());
  ASSERT_TRUE(log.Close().ok());
  EXPECT_EQ(ReadFileBytes(dir.Native("out.txt")), "third\r\n");
}

TEST(LogWriterTest, ExistingFileKeepsItsContentUntilCloseAndItsPermissions) {
  TempDir dir;
  std::string path = dir.Write("out.txt", "old\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  LogWriter log;
  log.SetLogFileName(dir.Native("out.txt"));
  ASSERT_TRUE(log.Clear().ok());
  ASSERT_TRUE(log.WriteLine("new").ok());
  EXPECT_EQ(ReadFileBytes(path), "old\r\n");
  ASSERT_TRUE(log.Close().ok());
  EXPECT_EQ(ReadFileBytes(path), "new\r\n");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(FilesIn(dir), 1u);  // no temporary file left behind
}

TEST(LogWriterTest, AbandonKeepsTheEarlierFile) {
  TempDir dir;
  std::string path = dir.Write("out.txt", "old\r\n");
  LogWriter log;
  log.SetLogFileName(dir.Native("out.txt"));
  ASSERT_TRUE(log.Clear().ok());
  ASSERT_TRUE(log.WriteLine("partial").ok());
  log.Abandon();
  EXPECT_TRUE(log.Close().ok());
  EXPECT_EQ(ReadFileBytes(path), "old\r\n");
  EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(LogWriterTest, LargeOutputSurvivesBuffering) {
  TempDir dir;
  LogWriter log;
  log.SetLogFileName(dir.Native("big.txt"));
  ASSERT_TRUE(log.Clear().ok());
  const std::string line(99, 'x');
  for (int i = 0; i < 20000; ++i) ASSERT_TRUE(log.WriteLine(line).ok());
  ASSERT_TRUE(log.Close().ok());
  EXPECT_EQ(std::filesystem::file_size(dir.Native("big.txt")), 20000u * 101u);
}

// Long buffers are encoded in halves on two threads: the bytes are those of the whole text,
// wherever a character or a broken sequence falls.
TEST(LogWriterTest, LongOutputIsEncodedAsAWhole) {
  TempDir dir;
  LogWriter log;
  log.SetLogFileName(dir.Native("big.txt"));
  ASSERT_TRUE(log.Clear().ok());
  std::string all;
  for (int i = 0; i < 60000; ++i) {
    const std::string line = std::string(i % 7, 'a') + "表示表示表示\xE3\x81" + std::to_string(i) + "■";
    ASSERT_TRUE(log.WriteLine(line).ok());
    all += line + "\r\n";
  }
  ASSERT_TRUE(log.Close().ok());
  EXPECT_TRUE(ReadFileBytes(dir.Native("big.txt")) == EncodeCp932(all));
}

TEST(LogWriterTest, MissingFolderFailsNamingTheFolder) {
  TempDir dir;
  LogWriter log;
  log.SetLogFileName(dir.Native("no/such/out.txt"));
  EXPECT_EQ(log.Clear().message(), dir.Native("no/such") + ": フォルダが存在しません。");
  EXPECT_FALSE(log.WriteLine("x").ok());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "no"));
}

TEST(LogWriterTest, FullDeviceFailsAtTheLatestOnClose) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  LogWriter log;
  log.SetLogFileName("/dev/full");
  ASSERT_TRUE(log.Clear().ok());  // a device is written in place
  EXPECT_TRUE(log.WriteLine("x").ok());
  EXPECT_EQ(log.Close().message(), "/dev/full: ディスクの空き容量が不足しています。");
}

TEST(LogWriterTest, ReadOnlyFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempDir dir;
  std::string path = dir.Write("locked.txt", "keep\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  LogWriter log;
  log.SetLogFileName(dir.Native("locked.txt"));
  EXPECT_EQ(log.Clear().message(), path + ": 書き込みできません。(アクセスが拒否されました)");
  EXPECT_EQ(ReadFileBytes(path), "keep\r\n");
}

}  // namespace
}  // namespace dovrek

// Memory grows with the model, not with the size of the files read: a large member of ordinary
// lines is streamed, and a single huge line costs memory in proportion to that line only. The
// peak resident memory of the dovrek program is read from the finished child process.
//
// The large member is 300 MB (generated here and removed afterwards), which keeps the run to a
// few seconds; a build with AddressSanitizer uses 30 MB and does not judge memory.

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "app/dovrek_process.h"

namespace dovrek {
namespace {

using testing::kSanitized;
using testing::ProcessOutcome;
using testing::ProgramCopy;
using testing::TempDir;

constexpr size_t kMegabyte = 1 << 20;
constexpr long kAllowanceKb = 100 * 1024;  // what the program may use above the model

// Writes `total` bytes made of `unit` repeated (the last copy cut short) after a first line.
void WriteRepeated(const std::string& path, const std::string& first, const std::string& unit,
                   size_t total) {
  std::string block;
  while (block.size() < kMegabyte) block += unit;
  std::ofstream out(path, std::ios::binary);
  out << first;
  for (size_t written = first.size(); written < total; written += block.size()) {
    out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), total - written)));
  }
}

class MemoryBoundTest : public ::testing::Test {
 protected:
  MemoryBoundTest() : program(dir) {}

  ProcessOutcome RunProject(const std::string& vbp) {
    return program.Run({"-q", "-t", dir.Native("out.txt"), "-x", dir.Native("out.xlsx"), vbp},
                       {.timeout = std::chrono::seconds(60)});
  }

  // The peak of a run over a small project: what the program needs before any file is large.
  long BaselineKb() {
    dir.Write("small/p.vbp", "Type=Exe\r\nModule=basSmall; small.bas\r\n");
    dir.Write("small/small.bas", "Attribute VB_Name = \"basSmall\"\r\nSub A()\r\nEnd Sub\r\n");
    ProcessOutcome run = RunProject(dir.Native("small/p.vbp"));
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return run.max_rss_kb;
  }

  TempDir dir;
  ProgramCopy program;
};

TEST_F(MemoryBoundTest, ALargeMemberOfOrdinaryLinesIsStreamed) {
  const size_t size = (kSanitized ? 30 : 300) * kMegabyte;
  // Procedures of about 1 MB of ordinary code lines each, with a one-line comment: the model
  // stays small (some 300 entries) while the file is large.
  std::string procedure = "Public Function Total(ByVal n As Long) As Long\r\n    ' adds up\r\n";
  for (int i = 0; i < 30000; ++i)
    procedure += "    Total = Total + n * " + std::to_string(i) + "\r\n";
  procedure += "End Function\r\n";
  dir.Write("big/p.vbp", "Type=Exe\r\nModule=basBig; big.bas\r\n");
  WriteRepeated(dir.Native("big/big.bas"), "Attribute VB_Name = \"basBig\"\r\n", procedure, size);
  long baseline = BaselineKb();

  ProcessOutcome run = RunProject(dir.Native("big/p.vbp"));
  std::filesystem::remove(dir.path() / "big/big.bas");
  ASSERT_FALSE(run.timed_out);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  size_t procedures = size / procedure.size();
  std::string text = testing::ReadFileBytes(dir.Native("out.txt"));
  EXPECT_NE(text.find("Total(big.bas)"), std::string::npos);
  if (kSanitized) GTEST_SKIP() << "memory is not judged under AddressSanitizer";
  RecordProperty("peak_rss_kb", std::to_string(run.max_rss_kb));
  EXPECT_LT(run.max_rss_kb, baseline + kAllowanceKb)
      << "baseline " << baseline << " KB, " << procedures << " procedures";
}

TEST_F(MemoryBoundTest, AHugeSingleLineCostsMemoryInProportionToIt) {
  const size_t size = (kSanitized ? 20 : 200) * kMegabyte;
  dir.Write("line/p.vbp",
            "Type=Exe\r\nModule=basLine; line.bas\r\nModule=basSmall; ..\\small\\small.bas\r\n");
  WriteRepeated(dir.Native("line/line.bas"), "", "x", size);
  long baseline = BaselineKb();

  ProcessOutcome run = RunProject(dir.Native("line/p.vbp"));
  std::filesystem::remove(dir.path() / "line/line.bas");
  ASSERT_FALSE(run.timed_out);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(testing::ReadFileBytes(dir.Native("out.txt")).find("A(small.bas)"), std::string::npos);
  if (kSanitized) GTEST_SKIP() << "memory is not judged under AddressSanitizer";
  RecordProperty("peak_rss_kb", std::to_string(run.max_rss_kb));
  EXPECT_LT(run.max_rss_kb, baseline + 2 * static_cast<long>(size / 1024))
      << "baseline " << baseline << " KB";
}

// Reading a long line holds it about twice at most, whatever the line is: code page 932 text
// (raw and decoded), a comment (the line and the collected comment), a head (the line and the
// parameter text) and the long last line of a continued head. Each module is read and the run
// then fails on a missing member, so that no report adds its own copies.
TEST_F(MemoryBoundTest, ALongLineIsHeldAtMostTwice) {
  const size_t size = (kSanitized ? 4 : 32) * kMegabyte;
  struct Case {
    const char* label;
    std::string first;  // what comes before the long run
    std::string unit;   // repeated to `size` bytes
    std::string last;
    double decoded;  // the line's UTF-8 length for each byte of the run
  } cases[] = {
      {"code page 932", "", "\x82\xA0", "\r\n", 1.5},
      {"comment", "Sub A()\r\n    '", "x", "\r\nEnd Sub\r\n", 1},
      {"head", "Sub A(ByVal ", "x", " As Long)\r\nEnd Sub\r\n", 1},
      {"continued head", "Sub A(ByVal a As Long, _\r\n", "x", " As Long)\r\nEnd Sub\r\n", 1},
  };
  long baseline = BaselineKb();
  dir.Write("long/p.vbp", "Type=Exe\r\nModule=basLong; long.bas\r\nModule=basGone; gone.bas\r\n");
  for (const Case& c : cases) {
    std::string path = dir.Native("long/long.bas");
    WriteRepeated(path, "Attribute VB_Name = \"basLong\"\r\n" + c.first, c.unit, size);
    std::ofstream(path, std::ios::app | std::ios::binary) << c.last;
    ProcessOutcome run = RunProject(dir.Native("long/p.vbp"));
    EXPECT_EQ(run.exit_code, 1) << c.label << run.err;
    EXPECT_NE(run.err.find("gone.bas"), std::string::npos) << c.label << run.err;
    if (kSanitized) continue;
    long line_kb = static_cast<long>(c.decoded * static_cast<double>(size) / 1024);
    EXPECT_LT(run.max_rss_kb, baseline + 2 * line_kb + 8 * 1024)
        << c.label << ": baseline " << baseline << " KB, line " << line_kb << " KB";
  }
  std::filesystem::remove(dir.path() / "long/long.bas");
}

// A file that runs out of memory fails the run with a message, not with an abort: each is a
// 512 MiB line of NUL bytes (a sparse file, so nothing is written) read under a 256 MiB limit.
TEST_F(MemoryBoundTest, RunningOutOfMemoryFailsTheRun) {
  if (kSanitized) GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
  struct Case {
    const char* file;
    const char* message;  // the end of the one line on standard error
  } cases[] = {
      {"p/big.bas", "big.bas: メモリが不足しています。\n"},
      {"p/p.vbp", "p.vbp: メモリが不足しています。\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(dir.path() / "p");
    std::filesystem::remove(dir.path() / "bin/Dovrek.ini");
    dir.Write("p/p.vbp", "Type=Exe\r\nModule=basBig; big.bas\r\n");
    dir.Write("p/big.bas", "Attribute VB_Name = \"basBig\"\r\nSub A()\r\nEnd Sub\r\n");
    std::string bloated = dir.Write(c.file, "[CHKBOX]\r\n");
    ASSERT_EQ(::truncate(bloated.c_str(), 1l << 29), 0);
    ProcessOutcome run =
        program.Run({"-q", "-j", "-", dir.Native("p/p.vbp")}, {.address_space = 256ul << 20});
    EXPECT_EQ(run.signal, 0) << c.file;
    EXPECT_EQ(run.exit_code, 1) << c.file;
    EXPECT_EQ(run.err.rfind("エラー: ", 0), 0u) << c.file << ": " << run.err;
    EXPECT_TRUE(run.err.ends_with(c.message)) << c.file << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.file << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.file;
  }
}

}  // namespace
}  // namespace dovrek

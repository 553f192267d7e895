// Memory grows with the model, not with the size of the files read: a large member of ordinary
// lines is streamed, and a single huge line costs memory in proportion to that line only. The
// peak resident memory of the dovrek program is read from the finished child process.
//
// The large member is 300 MB (generated here and removed afterwards), which keeps the run to a
// few seconds; a build with AddressSanitizer uses 30 MB and does not judge memory.

#include <gtest/gtest.h>

#include <fstream>

#include "run/dovrek_process.h"

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
    dir.Write("small/p.vbp", "Module=basSmall; small.bas\r\n");
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
  dir.Write("big/p.vbp", "Module=basBig; big.bas\r\n");
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
  dir.Write("line/p.vbp", "Module=basLine; line.bas\r\nModule=basSmall; ..\\small\\small.bas\r\n");
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

}  // namespace
}  // namespace dovrek

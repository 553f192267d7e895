#include "os/buffered_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace dovrek {
namespace {

constexpr size_t kBuffer = BufferedWriter::kBufferSize;

// A piece whose bytes tell its place, so that a lost, repeated or reordered piece shows.
std::string Piece(size_t size, size_t index) {
  std::string piece(size, '\0');
  for (size_t i = 0; i < size; ++i) piece[i] = static_cast<char>('a' + (index * 7 + i) % 26);
  return piece;
}

TEST(BufferedWriterTest, PiecesOfEverySizeArriveWholeAndInOrder) {
  struct Case {
    const char* what;
    std::vector<size_t> sizes;  // 0 stands for a single Put
  } cases[] = {
      {"small pieces and single bytes", {1, 0, 7, 0, 100}},
      {"the buffer filled exactly, then more", {kBuffer - 1, 0, 0, 1}},
      {"a piece over the room left", {kBuffer - 10, 20, 0}},
      {"pieces larger than the buffer", {3, 2 * kBuffer + 5, 0, kBuffer, kBuffer - 3}},
  };
  testing::TempDir dir;
  for (const Case& c : cases) {
    std::string expected, in_memory;
    std::string path = dir.Native("out.bin");
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    BufferedWriter to_string(&in_memory);
    BufferedWriter to_file(fd, path);
    for (size_t i = 0; i < c.sizes.size(); ++i) {
      std::string piece = c.sizes[i] == 0 ? std::string(1, 'Z') : Piece(c.sizes[i], i);
      expected += piece;
      for (BufferedWriter* out : {&to_string, &to_file}) {
        if (c.sizes[i] == 0) {
          out->Put('Z');
        } else {
          out->Append(piece);
        }
      }
    }
    EXPECT_TRUE(to_string.Flush() && to_file.Flush()) << c.what;
    ::close(fd);
    EXPECT_TRUE(in_memory == expected) << c.what;
    EXPECT_TRUE(testing::ReadFileBytes(path) == expected) << c.what;
  }
}

TEST(BufferedWriterTest, TheFirstFailureIsKeptAndNamesTheFile) {
  int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  if (fd < 0) GTEST_SKIP() << "no /dev/full";
  BufferedWriter out(fd, "/dev/full");
  out.Append("fits in the buffer");
  EXPECT_TRUE(out.ok());
  out.Append(std::string(kBuffer, 'x'));
  EXPECT_FALSE(out.ok());
  out.Append("later pieces are dropped");
  EXPECT_FALSE(out.Flush());
  EXPECT_EQ(out.error(), "/dev/full: ディスクの空き容量が不足しています。");
  ::close(fd);
}

}  // namespace
}  // namespace dovrek

#include "text/line_reader.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "test_support.h"

namespace dovrek {
namespace {

std::vector<std::string> ReadAll(const std::string& path, std::string* error) {
  LineReader reader;
  std::vector<std::string> lines;
  if (!reader.Open(path).ok()) return {"<open failed>"};
  std::string line;
  while (reader.ReadLine(&line)) lines.push_back(line);
  *error = reader.status().message();
  return lines;
}

TEST(LineReaderTest, SplitsAtEveryKindOfLineEnd) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"\r\n\r\n", {"", ""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"\xEF\xBB\xBF"
       "x\xC3\xA9\n",
       {"xé"}},
      {"\xEF\xBB", {"\uFFFDｻ"}},  // not a full mark: code page 932, 0xBB on its own
      {"\x82\xA0\x0D\x0A\x95\x5C", {"あ", "表"}},
      // UTF-16 with its mark: little and big endian, a surrogate pair, a lone surrogate and an
      // odd byte at the end each becoming U+FFFD.
      {std::string("\xFF\xFE"
                   "a\0\r\0\n\0"
                   "\x68\x88"
                   "\x3D\xD8\x00\xDE"
                   "\n\0"
                   "\x00\xDC"
                   "x",
                   19),
       {"a", "表😀", "\uFFFD\uFFFD"}},
      {std::string("\xFE\xFF"
                   "\0a\0\n"
                   "\x88\x68",
                   8),
       {"a", "表"}},
  };
  testing::TempDir dir;
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(ReadAll(dir.Write("f.txt", c.bytes), &error), c.lines) << c.bytes;
    EXPECT_EQ(error, "");
  }
}

TEST(LineReaderTest, LinesLongerThanTheBufferAndCrLfAcrossItsEdge) {
  testing::TempDir dir;
  std::string longline(200000, 'x');
  std::string edge(65535, 'y');  // CR is the buffer's last byte, LF the next fill's first
  std::string error;
  auto lines = ReadAll(dir.Write("f.txt", longline + "\r\n" + edge + "\r\nz"), &error);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], longline);
  EXPECT_EQ(lines[1], edge);
  EXPECT_EQ(lines[2], "z");
}

TEST(LineReaderTest, Utf16AcrossManyBuffers) {
  testing::TempDir dir;
  // 40,000 lines of "表😀" (3 code units): surrogate pairs fall on every buffer edge in turn.
  std::string bytes = "\xFF\xFE";
  for (int i = 0; i < 40000; ++i) bytes += std::string("\x68\x88\x3D\xD8\x00\xDE\r\0\n\0", 10);
  std::string error;
  std::vector<std::string> lines = ReadAll(dir.Write("u16.bas", bytes), &error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(lines.size(), 40000u);
  for (const std::string& line : lines) ASSERT_EQ(line, "表😀");
}

TEST(LineReaderTest, RefusesWhatIsNotARegularFile) {
  testing::TempDir dir;
  std::string fifo = dir.Native("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {dir.Native(""), fifo, dir.Native("missing.bas")}) {
    LineReader reader;
    Status opened = reader.Open(path);
    EXPECT_FALSE(opened.ok()) << path;
    EXPECT_NE(opened.message().find(path), std::string::npos) << opened.message();
  }
}

}  // namespace
}  // namespace dovrek

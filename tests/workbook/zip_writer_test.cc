#include "workbook/zip_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <utility>
#include <vector>

#include "workbook/block_deflater.h"
#include "workbook/zip_package.h"
#include "test_support.h"

namespace dovrek {
namespace {

// Bytes that deflate cannot shrink, so the compressed part outgrows every buffer.
std::string Noise(size_t size) {
  std::string bytes(size, '\0');
  uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

std::string Repeated(std::string_view unit, size_t times) {
  std::string bytes;
  for (size_t i = 0; i < times; ++i) bytes += unit;
  return bytes;
}

TEST(ZipWriterTest, PartsWrittenInPiecesReadBackAsWritten) {
  const std::vector<std::pair<std::string, std::string>> parts = {
      {"[Content_Types].xml", "<Types/>"},
      {"empty.xml", ""},
      {"xl/media/画像.xml", "<a/>"},
      {"xl/noise.bin", Noise(300 * 1024)},
      {"xl/noise-long.bin", Noise(1300 * 1024)},  // blocks that do not shrink
      {"one-block.xml", Repeated("x", 512 * 1024)},
      {"a-block-and-a-byte.xml", Repeated("y", 512 * 1024 + 1)},
      {"xl/worksheets/sheet1.xml",
       Repeated("<row r=\"1\"><c><is><t>販売</t></is></c></row>", 200000)},
  };
  std::string zip;
  BufferedWriter out(&zip);
  ZipWriter writer(out);
  for (const auto& [name, bytes] : parts) {
    writer.BeginPart(name);
    // Pieces of odd sizes, as a serializer hands them over.
    for (size_t at = 0; at < bytes.size(); at += 4093) writer.Write(bytes.substr(at, 4093));
    writer.EndPart();
  }
  writer.Finish();
  ASSERT_TRUE(out.Flush());
  testing::TempDir dir;
  ZipPackage read = ZipPackage::Read(dir.Write("parts.zip", zip));
  EXPECT_TRUE(read.parts() == parts);
  // A name beyond ASCII is flagged as UTF-8 (bit 11 of the flags after the version).
  size_t header = zip.find("PK\x03\x04\x14\x00", zip.find("empty.xml"));
  EXPECT_EQ(static_cast<unsigned char>(zip[header + 7]) & 0x08, 0x08);
}

// Raw deflate data inflated back.
std::string Inflate(const std::string& deflated) {
  z_stream stream{};
  EXPECT_EQ(inflateInit2(&stream, -MAX_WBITS), Z_OK);
  std::string out(64 << 20, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(deflated.data()));
  stream.avail_in = static_cast<uInt>(deflated.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  inflateEnd(&stream);
  return out;
}

// However many threads deflate, and in whatever order they finish, the blocks joined are one
// stream of the part; and the deflater takes the next part afresh.
TEST(ZipWriterTest, BlocksDeflatedOnAnyNumberOfThreadsJoinIntoOneStream) {
  const std::string text = Repeated("<row r=\"1\"><c><is><t>販売</t></is></c></row>", 40000);
  const std::string noise = Noise(700 * 1024);
  for (unsigned helpers : {0u, 1u, 3u}) {
    BlockDeflater deflater(1, helpers);
    for (const std::string* part : {&text, &noise}) {
      std::string deflated;
      for (size_t at = 0; at < part->size(); at += 100000) {
        deflater.Add(part->substr(at, 100000), at + 100000 >= part->size());
        deflater.TakeFinished(&deflated);
      }
      deflater.Finish(&deflated);
      EXPECT_TRUE(Inflate(deflated) == *part) << helpers;
    }
  }
}

}  // namespace
}  // namespace dovrek

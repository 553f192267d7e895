#include "report/workbook/zip_writer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "report/workbook/zip_package.h"
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

}  // namespace
}  // namespace dovrek

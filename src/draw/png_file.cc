#include "draw/png_file.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include <zlib.h>

namespace dovrek {
namespace {

void AppendWord(std::string* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(value >> shift));
}

// A chunk: its length, its type and data, and the CRC of type and data.
void AppendChunk(std::string* out, const char* type, const std::string& data) {
  AppendWord(out, static_cast<uint32_t>(data.size()));
  const size_t start = out->size();
  out->append(type, 4);
  out->append(data);
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out->data() + start), static_cast<uInt>(out->size() - start));
  AppendWord(out, static_cast<uint32_t>(crc));
}

// Every row as its filter byte (1, "sub") and its pixels as R, G, B, each byte less the one a
// pixel before it: a run of one colour becomes a run of zeros.
std::vector<unsigned char> Scanlines(const unsigned char* pixels, int32_t width, int32_t height,
                                     int32_t stride) {
  std::vector<unsigned char> rows(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
  unsigned char* out = rows.data();
  for (int32_t y = 0; y < height; ++y) {
    *out++ = 1;
    const unsigned char* row = pixels + static_cast<size_t>(y) * stride;
    uint32_t before = 0;
    for (int32_t x = 0; x < width; ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, row + 4 * static_cast<size_t>(x), 4);
      for (int shift = 16; shift >= 0; shift -= 8) {
        *out++ = static_cast<unsigned char>((pixel >> shift) - (before >> shift));
      }
      before = pixel;
    }
  }
  return rows;
}

std::string Compressed(const std::vector<unsigned char>& data) {
  z_stream stream{};
  if (deflateInit2(&stream, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::bad_alloc();
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int done = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (done != Z_STREAM_END) throw std::bad_alloc();
  return out;
}

}  // namespace

std::string PngFile(const unsigned char* pixels, int32_t width, int32_t height, int32_t stride) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  AppendWord(&header, static_cast<uint32_t>(width));
  AppendWord(&header, static_cast<uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  AppendChunk(&png, "IHDR", header);
  AppendChunk(&png, "IDAT", Compressed(Scanlines(pixels, width, height, stride)));
  AppendChunk(&png, "IEND", "");
  return png;
}

}  // namespace dovrek

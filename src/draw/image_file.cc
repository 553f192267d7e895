#include "draw/image_file.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace dovrek {
namespace {

// The largest picture drawn: a hostile header must not make us allocate gigabytes.
constexpr int64_t kMostPixels = 16 * 1024 * 1024;

uint32_t Read(std::string_view bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  }
  return value;
}

struct PngReader {
  std::string_view bytes;
  size_t at = 0;
};

cairo_status_t ReadPng(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<PngReader*>(closure);
  if (length > reader->bytes.size() - reader->at) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->bytes.data() + reader->at, length);
  reader->at += length;
  return CAIRO_STATUS_SUCCESS;
}

Surface DecodePng(std::string_view bytes) {
  PngReader reader{bytes};
  Surface surface(cairo_image_surface_create_from_png_stream(ReadPng, &reader));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  return surface;
}

// A device-independent bitmap: its header, palette and rows from the bottom up (top down when
// the height is negative). In an icon the height counts the mask too, and the mask's rows
// follow the colours: a set bit leaves the pixel transparent.
Surface DecodeDib(std::string_view dib, size_t bits_at, bool icon) {
  if (dib.size() < 40) return nullptr;
  const uint32_t header = Read(dib, 0, 4);
  const int64_t width = static_cast<int32_t>(Read(dib, 4, 4));
  int64_t height = static_cast<int32_t>(Read(dib, 8, 4));
  const uint32_t depth = Read(dib, 14, 2);
  const uint32_t compression = Read(dib, 16, 4);
  uint32_t colors = Read(dib, 32, 4);
  if (header < 40 || header > dib.size() || compression != 0 || width <= 0 || height == 0) return nullptr;
  const bool top_down = height < 0;
  height = top_down ? -height : height;
  if (icon) height /= 2;
  if (height == 0 || width * height > kMostPixels) return nullptr;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) return nullptr;
  if (colors == 0 && depth <= 8) colors = 1u << depth;
  if (colors > 256) return nullptr;
  const size_t palette = header;
  if (bits_at == 0) bits_at = palette + size_t{colors} * 4;
  const size_t stride = static_cast<size_t>((width * depth + 31) / 32 * 4);
  const size_t mask_stride = static_cast<size_t>((width + 31) / 32 * 4);
  const size_t needed = bits_at + stride * static_cast<size_t>(height) +
                        (icon ? mask_stride * static_cast<size_t>(height) : 0);
  if (palette + size_t{colors} * 4 > dib.size() || needed > dib.size()) return nullptr;
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width),
                                             static_cast<int>(height)));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  unsigned char* pixels = cairo_image_surface_get_data(surface.get());
  const int out_stride = cairo_image_surface_get_stride(surface.get());
  for (int64_t y = 0; y < height; ++y) {
    const int64_t source_row = top_down ? y : height - 1 - y;
    const size_t row = bits_at + stride * static_cast<size_t>(source_row);
    const size_t mask_row = bits_at + stride * static_cast<size_t>(height) +
                            mask_stride * static_cast<size_t>(source_row);
    auto* out = reinterpret_cast<uint32_t*>(pixels + y * out_stride);
    for (int64_t x = 0; x < width; ++x) {
      uint32_t bgr;
      if (depth >= 24) {
        bgr = Read(dib, row + static_cast<size_t>(x) * (depth / 8), 3);
      } else {
        const size_t bit = static_cast<size_t>(x) * depth;
        const uint32_t byte = static_cast<unsigned char>(dib[row + bit / 8]);
        const uint32_t index = (byte >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
        bgr = index < colors ? Read(dib, palette + index * 4, 3) : 0;
      }
      bool transparent = false;
      if (icon) {
        const uint32_t mask = static_cast<unsigned char>(dib[mask_row + static_cast<size_t>(x) / 8]);
        transparent = (mask >> (7 - x % 8)) & 1;
      }
      out[x] = transparent ? 0 : 0xFF000000u | bgr;  // cairo holds 0xAARRGGBB, as DIBs hold BGR
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

// An icon or cursor directory: the first image, a PNG or a bitmap with its mask.
Surface DecodeIcon(std::string_view bytes) {
  if (bytes.size() < 22 || Read(bytes, 4, 2) == 0) return nullptr;
  const uint32_t size = Read(bytes, 14, 4);
  const uint32_t offset = Read(bytes, 18, 4);
  if (offset > bytes.size() || size > bytes.size() - offset) return nullptr;
  const std::string_view image = bytes.substr(offset, size);
  if (image.substr(0, 8) == "\x89PNG\r\n\x1a\n") return DecodePng(image);
  return DecodeDib(image, 0, true);
}

}  // namespace

Surface DecodeImageFile(std::string_view bytes) {
  if (bytes.size() >= 8 && bytes.substr(0, 8) == "\x89PNG\r\n\x1a\n") return DecodePng(bytes);
  if (bytes.size() >= 54 && bytes.substr(0, 2) == "BM") {
    const uint32_t bits = Read(bytes, 10, 4);
    if (bits < 54 || bits > bytes.size()) return nullptr;
    return DecodeDib(bytes.substr(14), bits - 14, false);
  }
  if (bytes.size() >= 6 && Read(bytes, 0, 2) == 0 && (Read(bytes, 2, 2) == 1 || Read(bytes, 2, 2) == 2)) {
    return DecodeIcon(bytes);
  }
  return nullptr;
}

}  // namespace dovrek

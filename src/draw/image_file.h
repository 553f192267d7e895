#pragma once
// Turns the image files a window's companion holds into pictures to draw: bitmaps (1, 4, 8,
// 24 and 32 bits a pixel, uncompressed), icons and cursors (their first image, a bitmap with
// its mask or a PNG), and PNG files. Other formats (GIF, JPEG, metafiles) give nullptr, and
// the caller draws a placeholder. Every size and offset is checked against the bytes.

#include <cairo.h>

#include <memory>
#include <string_view>

namespace dovrek {

struct SurfaceRelease {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;

Surface DecodeImageFile(std::string_view bytes);

}  // namespace dovrek

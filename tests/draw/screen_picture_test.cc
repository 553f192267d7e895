#include "draw/screen_picture.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>

#include "draw/image_file.h"
#include "source/screen_builder.h"

namespace dovrek {
namespace {

std::string AsItStands(std::string_view bytes) { return std::string(bytes); }

std::string Le32(size_t n) {
  return {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF), 0, 0};
}

Screen ScreenOf(const char* source, const FormCompanion* companion = nullptr) {
  const FormDescription form = ReadFormDescription(source);
  return BuildScreen({"f.frm", &form, companion, AsItStands, {}, ""});
}

// The colour of one pixel of a drawn picture, as 0xRRGGBB.
uint32_t PixelAt(const Surface& picture, int x, int y) {
  const unsigned char* data = cairo_image_surface_get_data(picture.get());
  uint32_t pixel;
  std::memcpy(&pixel, data + y * cairo_image_surface_get_stride(picture.get()) + x * 4, 4);
  return pixel & 0xFFFFFF;
}

struct PixelCase {
  const char* what;
  int x, y;  // on the picture, frame included
  uint32_t rgb;
};

// A sizable window (4-pixel border, 18-pixel caption, a menu bar) with a button, a text box,
// a red label, a picture from the companion and a control of another library.
TEST(ScreenPictureTest, DrawsTheFrameAndEachControlInItsPlace) {
  std::string bitmap = std::string("BM") + std::string(8, '\0') + std::string("\x36\0\0\0", 4);
  std::string info(40, '\0');
  info[0] = 40, info[4] = 2, info[8] = 2, info[12] = 1, info[14] = 24;
  bitmap += info + std::string("\x00\x00\xFF\x00\x00\xFF\0\0\x00\x00\xFF\x00\x00\xFF\0\0", 16);
  const FormCompanion companion(Le32(bitmap.size() + 8) + std::string("lt\0\0", 4) +
                                Le32(bitmap.size()) + bitmap);
  const Screen screen = ScreenOf(
      "Begin VB.Form f\n Caption = \"注文\"\n ClientWidth = 3000\n ClientHeight = 1500\n"
      " Begin VB.Menu m\n  Caption = \"ファイル(&F)\"\n End\n"
      " Begin VB.CommandButton b\n  Caption = \"OK\"\n  Left = 150\n  Top = 150\n  Width = 900\n  Height = 450\n End\n"
      " Begin VB.TextBox t\n  Left = 1500\n  Top = 150\n  Width = 1200\n  Height = 450\n End\n"
      " Begin VB.Label l\n  BackColor = &H000000FF&\n  Left = 150\n  Top = 900\n  Width = 600\n  Height = 300\n End\n"
      " Begin VB.Image i\n  Picture = \"f.frx\":0000\n  Left = 1500\n  Top = 900\n  Width = 30\n  Height = 30\n End\n"
      " Begin Threed.SSPanel p\n  Left = 2100\n  Top = 900\n  Width = 600\n  Height = 450\n End\n"
      "End\n",
      &companion);
  const std::string png = DrawScreenPicture(screen);
  ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  Surface picture = DecodeImageFile(png);
  ASSERT_TRUE(picture);
  EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 200 + 8);
  EXPECT_EQ(cairo_image_surface_get_height(picture.get()), 100 + 8 + 18 + 19);
  const int cx = 4, cy = 4 + 18 + 19;  // the client area's corner
  const PixelCase cases[] = {
      {"caption bar, dark blue at its left", 4, 21, 0x0A246A},
      {"menu bar", 150, 4 + 18 + 2, 0xD4D0C8},
      {"client area, button face", cx + 190, cy + 90, 0xD4D0C8},
      {"button's raised edge, white at its top", cx + 30, cy + 10, 0xFFFFFF},
      {"button's dark edge at its bottom", cx + 30, cy + 39, 0x404040},
      {"text box, white inside", cx + 150, cy + 20, 0xFFFFFF},
      {"text box's sunken edge, grey at its top", cx + 150, cy + 10, 0x808080},
      {"label in its own red", cx + 15, cy + 62, 0xFF0000},
      {"the companion's picture, a red pixel", cx + 100, cy + 60, 0xFF0000},
      {"another library's box, face inside", cx + 175, cy + 95, 0xD4D0C8},
  };
  for (const PixelCase& c : cases) {
    EXPECT_EQ(PixelAt(picture, c.x, c.y), c.rgb) << c.what;
  }
}

TEST(ScreenPictureTest, ImageFilesDecodeOrAreRefusedWhenDamaged) {
  std::string bitmap = std::string("BM") + std::string(8, '\0') + std::string("\x3e\0\0\0", 4);
  std::string info(40, '\0');
  info[0] = 40, info[4] = 8, info[8] = 1, info[12] = 1, info[14] = 1;  // 8 x 1, one bit a pixel
  bitmap += info + std::string("\0\0\0\0\xFF\xFF\xFF\0", 8) + std::string("\xF0\0\0\0", 4);
  Surface image = DecodeImageFile(bitmap);
  ASSERT_TRUE(image);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFFFFFF);
  EXPECT_EQ(PixelAt(image, 7, 0), 0x000000);
  for (size_t cut = 0; cut < bitmap.size(); ++cut) {
    EXPECT_FALSE(DecodeImageFile(bitmap.substr(0, cut))) << cut;
  }
  std::string huge = bitmap;
  huge[14 + 4] = '\xFF', huge[14 + 5] = '\xFF', huge[14 + 6] = '\xFF';
  EXPECT_FALSE(DecodeImageFile(huge));
  EXPECT_FALSE(DecodeImageFile("GIF89a..."));
}

}  // namespace
}  // namespace dovrek

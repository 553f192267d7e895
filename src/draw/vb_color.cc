#include "draw/vb_color.h"

#include <optional>

#include "source/property_text.h"

namespace dovrek {
namespace {

constexpr Rgb FromHex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

// Windows Classic: scroll bar, desktop, active caption, inactive caption, menu, window,
// window frame, menu text, window text, caption text, active border, inactive border,
// application workspace, highlight, highlight text, button face, button shadow, grey text,
// button text, inactive caption text, button highlight, 3D dark shadow, 3D light, tooltip
// text, tooltip background.
constexpr uint32_t kClassicPalette[] = {
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8, 0x808080, 0x808080,
    0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000, 0xFFFFE1};

}  // namespace

Rgb SystemColor(uint32_t index) {
  if (index >= sizeof kClassicPalette / sizeof kClassicPalette[0]) return FromHex(0xD4D0C8);
  return FromHex(kClassicPalette[index]);
}

Rgb VbColor(std::string_view source, Rgb fallback) {
  std::optional<double> number = NumberValue(source);
  if (!number || *number < 0 || *number > 4294967295.0) return fallback;
  const uint32_t value = static_cast<uint32_t>(*number);
  if (value & 0x80000000u) return SystemColor(value & 0xFFu);
  // Stored as blue, green, red from the high byte down.
  return {(value & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, ((value >> 16) & 0xFF) / 255.0};
}

}  // namespace dovrek

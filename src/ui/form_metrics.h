#pragma once
// How the window's design units become pixels: positions and sizes are designed in twips,
// 15 twips to a pixel at 96 dots per inch, and scaled with the screen's logical dpi.

#include <QFont>
#include <QRect>

namespace dovrek {

inline constexpr int kTwipsPerInch = 1440;

// Twips as whole pixels at `dpi`, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

// A rectangle given in twips (left, top, width, height) as pixels at `dpi`; each value is
// rounded on its own, so a control keeps its designed size wherever it stands.
QRect TwipsToPixels(int left, int top, int width, int height, int dpi);

// The font of the windows: "MS UI Gothic" 9.75 point, falling back to an installed Japanese
// Gothic when that font is missing.
QFont WindowFont();

}  // namespace dovrek

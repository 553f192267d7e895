#include "ui/form_metrics.h"

#include <QStringList>
#include <cmath>

namespace dovrek {

int TwipsToPixels(int twips, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

QRect TwipsToPixels(int left, int top, int width, int height, int dpi) {
  return QRect(TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
               TwipsToPixels(height, dpi));
}

QFont WindowFont() {
  QFont font;
  // fontconfig maps an unknown family to a Latin font; the list names the Japanese Gothics
  // that stand in for the designed font, proportional ones first as the designed one is.
  font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("IPAGothic"), QStringLiteral("TakaoPGothic")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(9.75);
  return font;
}

}  // namespace dovrek

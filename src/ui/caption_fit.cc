#include "ui/caption_fit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>

namespace dovrek {
namespace {

constexpr double kPointStep = 0.25;

QRect ButtonContents(const QAbstractButton& button, QStyle::SubElement element) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  return button.style()->subElementRect(element, &option, &button);
}

bool AllCaptionsFit(const QWidget& window) {
  const QList<QWidget*> controls = window.findChildren<QWidget*>();
  return std::all_of(controls.begin(), controls.end(),
                     [](const QWidget* control) { return CaptionFits(*control); });
}

}  // namespace

QRect CaptionRoom(const QWidget& control) {
  if (const auto* box = qobject_cast<const QCheckBox*>(&control)) {
    return ButtonContents(*box, QStyle::SE_CheckBoxContents);
  }
  if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
    return ButtonContents(*button, QStyle::SE_PushButtonContents);
  }
  return control.contentsRect();
}

QString CaptionOf(const QWidget& control) {
  if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) return frame->title();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
  if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  return {};
}

bool CaptionFits(const QWidget& control) {
  const QString caption = CaptionOf(control);
  if (caption.isEmpty()) return true;
  const QRect room = CaptionRoom(control);
  const QFontMetrics metrics(control.font());
  const QStringList lines = caption.split(QLatin1Char('\n'));
  for (const QString& line : lines) {
    // "&" marks the access key, which is underlined rather than shown.
    if (metrics.horizontalAdvance(QString(line).remove(QLatin1Char('&'))) > room.width()) {
      return false;
    }
  }
  return lines.size() == 1 ||
         metrics.height() + (lines.size() - 1) * metrics.lineSpacing() <= room.height();
}

void FitWindowFont(QWidget& window, QFont font, double smallest_point_size) {
  window.setFont(font);
  while (font.pointSizeF() - kPointStep >= smallest_point_size && !AllCaptionsFit(window)) {
    font.setPointSizeF(font.pointSizeF() - kPointStep);
    window.setFont(font);
  }
}

}  // namespace dovrek

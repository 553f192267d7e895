#include "ui/qt_progress_window.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "ui/window_messages.h"
#include "ui/form_metrics.h"

namespace dovrek {
namespace {

// The window's layout in twips: the message above the bar's track.
constexpr int kClientWidth = 5400;
constexpr int kClientHeight = 1260;
constexpr int kMessageRect[] = {240, 180, 4920, 285};
constexpr int kTrackRect[] = {240, 600, 4920, 345};

}  // namespace

QtProgressWindow::QtProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      lblMsg_(new QLabel(this)),
      picProg_(new QFrame(this)),
      lblProg_(new QLabel(picProg_)) {
  setObjectName(QStringLiteral("frmProgress"));
  setWindowTitle(QString::fromUtf8(kProgressCaption));
  setWindowModality(Qt::NonModal);
  setFont(WindowFont());
  const int dpi = logicalDpiX();
  setFixedSize(TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));

  lblMsg_->setObjectName(QStringLiteral("lblMsg"));
  lblMsg_->setTextFormat(Qt::PlainText);
  lblMsg_->setGeometry(
      TwipsToPixels(kMessageRect[0], kMessageRect[1], kMessageRect[2], kMessageRect[3], dpi));

  picProg_->setObjectName(QStringLiteral("picProg"));
  picProg_->setFrameStyle(QFrame::Box | QFrame::Plain);
  picProg_->setLineWidth(0);
  picProg_->setAutoFillBackground(true);
  picProg_->setBackgroundRole(QPalette::Base);
  picProg_->setGeometry(
      TwipsToPixels(kTrackRect[0], kTrackRect[1], kTrackRect[2], kTrackRect[3], dpi));

  lblProg_->setObjectName(QStringLiteral("lblProg"));
  lblProg_->setAutoFillBackground(true);
  lblProg_->setBackgroundRole(QPalette::Highlight);
  lblProg_->setGeometry(0, 0, picProg_->width(), picProg_->height());
}

void QtProgressWindow::Load() {
  lblMsg_->clear();
  if (parentWidget()) {
    move(parentWidget()->frameGeometry().center() - rect().center());
  } else if (const QScreen* current = screen()) {
    move(current->availableGeometry().center() - rect().center());
  }
  show();
  raise();
  PaintNow(this);
}

void QtProgressWindow::Unload() { hide(); }

void QtProgressWindow::InitProgress(int32_t maximum, const std::string& message) {
  if (maximum > 0) {
    lblProg_->resize(0, lblProg_->height());
    maximum_ = maximum;
  }
  lblMsg_->setText(QString::fromStdString(message));
  PaintNow(this);
}

void QtProgressWindow::Progress(int32_t index) {
  // Not clamped to the track: an index beyond the maximum overfills, and picProg clips it.
  // Only the size limit of a widget bounds it, so a huge index cannot overflow.
  const double width = ProgressFillWidth(picProg_->width(), index, maximum_);
  const double limited = std::clamp(std::round(width), 0.0, double{QWIDGETSIZE_MAX});
  lblProg_->resize(static_cast<int>(limited), lblProg_->height());
  PaintNow(lblProg_);
}

void QtProgressWindow::PaintNow(QWidget* widget) {
  if (!isVisible()) return;
  widget->repaint();
  // Lets the window system map and expose the window while the caller keeps the thread;
  // input stays queued, as the run does not expect the user to act meanwhile.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace dovrek

#pragma once
// The progress window as a small modeless Qt window: the phase message in lblMsg and a bar,
// lblProg filling the track picProg. Because a run keeps the thread busy, every change is
// painted at once instead of waiting for the event loop.

#include <QWidget>
#include <cstdint>

#include "frontend/progress_window.h"

class QLabel;
class QFrame;

namespace dovrek {

class QtProgressWindow : public QWidget, public ProgressWindow {
  Q_OBJECT

 public:
  // `owner` is the window the progress window stands over; may be null.
  explicit QtProgressWindow(QWidget* owner = nullptr);

  void Load() override;
  void Unload() override;
  void InitProgress(int32_t maximum, const std::string& message) override;
  void Progress(int32_t index) override;

 private:
  void PaintNow(QWidget* widget);

  QLabel* lblMsg_;
  QFrame* picProg_;
  QLabel* lblProg_;
  int32_t maximum_ = 0;
};

}  // namespace dovrek

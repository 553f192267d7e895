#include "console/console_progress_window.h"

#include <cmath>
#include <iostream>

namespace dovrek {
namespace {

constexpr char kClearLine[] = "\r\x1b[K";

// The whole characters of a fill, held to the track only here, where characters are drawn.
int FilledCharacters(double fill) {
  if (!(fill > 0.0)) return 0;
  if (fill >= ConsoleProgressWindow::kTrackWidth) return ConsoleProgressWindow::kTrackWidth;
  return static_cast<int>(std::floor(fill));
}

}  // namespace

ConsoleProgressWindow::ConsoleProgressWindow(bool enabled)
    : ConsoleProgressWindow(std::cerr, enabled) {}

ConsoleProgressWindow::ConsoleProgressWindow(std::ostream& out, bool enabled)
    : out_(out), enabled_(enabled) {}

void ConsoleProgressWindow::Load() {
  shown_ = true;
  message_.clear();
  fill_ = 0.0;
  Draw();
}

void ConsoleProgressWindow::Unload() {
  if (enabled_ && shown_) out_ << kClearLine << std::flush;
  shown_ = false;
  drawn_.clear();
  files_total_ = 0;
}

void ConsoleProgressWindow::InitProgress(int32_t maximum, const std::string& message) {
  if (maximum > 0) {
    fill_ = 0.0;
    maximum_ = maximum;
  }
  message_ = message;
  Draw();
}

void ConsoleProgressWindow::Progress(int32_t index) {
  fill_ = ProgressFillWidth(kTrackWidth, index, maximum_);
  Draw();
}

void ConsoleProgressWindow::SetFilesRead(int32_t read, int32_t total) {
  files_read_ = read;
  files_total_ = total;
}

void ConsoleProgressWindow::Draw() {
  if (!enabled_ || !shown_) return;
  int filled = FilledCharacters(fill_);
  std::string line = message_;
  if (!line.empty()) line += ' ';
  line += '[';
  line.append(static_cast<size_t>(filled), '#');
  line.append(static_cast<size_t>(kTrackWidth - filled), ' ');
  line += ']';
  if (files_total_ > 0) {
    line += ' ' + std::to_string(files_read_) + '/' + std::to_string(files_total_);
  }
  if (line == drawn_) return;
  out_ << kClearLine << line << std::flush;
  drawn_ = std::move(line);
}

}  // namespace dovrek

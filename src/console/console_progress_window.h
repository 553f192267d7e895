#pragma once
// The progress window without a display: one line "<message> [#####     ] n/N" on a terminal,
// redrawn in place with a carriage return and cleared when the window is unloaded. "n/N", the
// count of files read, stands there only while a count is set.

#include <cstdint>
#include <iosfwd>
#include <string>

#include "frontend/progress_window.h"

namespace dovrek {

class ConsoleProgressWindow : public ProgressWindow {
 public:
  // The number of characters between the brackets.
  static constexpr int kTrackWidth = 20;

  // Draws on standard error; nothing at all when not enabled (the caller passes
  // isatty(2) && !quiet).
  explicit ConsoleProgressWindow(bool enabled);
  // Draws on `out` when enabled.
  ConsoleProgressWindow(std::ostream& out, bool enabled);

  void Load() override;
  void Unload() override;
  void InitProgress(int32_t maximum, const std::string& message) override;
  void Progress(int32_t index) override;

  // Sets the count of files read shown after the bar from the next drawing on; Unload clears
  // it, and a total of 0 or less shows none.
  void SetFilesRead(int32_t read, int32_t total);

 private:
  void Draw();

  std::ostream& out_;
  bool enabled_;
  bool shown_ = false;
  std::string message_;
  int32_t maximum_ = 0;  // kept across Unload and Load
  double fill_ = 0.0;    // filled width in characters, unclamped
  int32_t files_read_ = 0;
  int32_t files_total_ = 0;
  std::string drawn_;  // the line on the terminal, to skip redraws that change nothing
};

}  // namespace dovrek

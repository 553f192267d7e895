#pragma once
// The small modeless window that shows the phase of a run and a bar. The stored maximum
// outlives Unload, so a later phase that passes 0 keeps the earlier maximum.

#include <cstdint>
#include <string>

namespace dovrek {

class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  // Shows the window modeless with an empty message and repaints it at once.
  virtual void Load() = 0;
  // Closes the window. The stored maximum is kept.
  virtual void Unload() = 0;
  // With a maximum > 0 empties the bar and stores the maximum; with 0 or less leaves both.
  // Shows the message and repaints at once.
  virtual void InitProgress(int32_t maximum, const std::string& message) = 0;
  // Sets the filled part of the bar to track × index ÷ maximum and repaints it at once.
  virtual void Progress(int32_t index) = 0;
};

// The bar rule shared by every progress window: the filled width for a track width, not
// clamped (an index beyond the maximum overfills). 0 while no positive maximum was stored.
double ProgressFillWidth(double track_width, int32_t index, int32_t maximum);

// A progress window that shows nothing, for runs without a display of progress.
class SilentProgressWindow : public ProgressWindow {
 public:
  void Load() override {}
  void Unload() override {}
  void InitProgress(int32_t, const std::string&) override {}
  void Progress(int32_t) override {}
};

}  // namespace dovrek

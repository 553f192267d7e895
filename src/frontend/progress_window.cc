#include "frontend/progress_window.h"

namespace dovrek {

double ProgressFillWidth(double track_width, int32_t index, int32_t maximum) {
  if (maximum <= 0) return 0.0;
  return track_width * static_cast<double>(index) / static_cast<double>(maximum);
}

}  // namespace dovrek

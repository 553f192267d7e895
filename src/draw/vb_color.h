#pragma once
// The colours a window description writes: "&H00BBGGRR&" for a colour of its own, and
// "&H800000NN&" for the system colour NN, shown here in the classic Windows palette.

#include <cstdint>
#include <string_view>

namespace dovrek {

struct Rgb {
  double r = 0, g = 0, b = 0;  // 0 to 1
};

// The colour a property's source text names; the fallback when the text names none.
Rgb VbColor(std::string_view source, Rgb fallback);

// The classic palette's system colours by their number (15 button face, 5 window, ...).
Rgb SystemColor(uint32_t index);

}  // namespace dovrek

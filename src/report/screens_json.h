#pragma once
// The screens of complete mode as JSON: an array of one object per screen, with its controls
// and its event handlers (keys in docs/json.md).

#include <vector>

#include "model/screen.h"
#include "os/buffered_writer.h"

namespace dovrek {

// Writes the array as the value of a top-level key (indented as the model's other lists).
void AppendScreens(const std::vector<Screen>& screens, BufferedWriter& out);

}  // namespace dovrek

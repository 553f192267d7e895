#pragma once
// The screens section of the text report (complete mode): a list of the screens, then for each
// screen its items and its event handlers, a row each.

#include <string>
#include <vector>

#include "model/screen.h"

namespace dovrek {

std::vector<std::string> ScreenRows(const std::vector<Screen>& screens);

}  // namespace dovrek

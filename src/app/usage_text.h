#pragma once
// The usage text that --help prints and that follows a usage error, in the user's language.

#include <string>

#include "texts/ui_language.h"

namespace dovrek {

std::string UsageText(Language language);

}  // namespace dovrek

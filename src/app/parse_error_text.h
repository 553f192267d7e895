#pragma once
// The errors of the command-line library (CLI11), told in the user's language.

#include <CLI/Error.hpp>
#include <string>

#include "texts/ui_language.h"

namespace dovrek {

// The text of a parse error, by its kind: an unknown option or an unexpected argument, a
// missing value, a value not among those allowed, two options that exclude each other; any
// other kind in the library's own words after a short lead. The option named stays as typed.
std::string ParseErrorText(const CLI::ParseError& error, Language language);

}  // namespace dovrek

#pragma once
// Takes the comment of one logical line for a procedure's description.

#include <string>
#include <string_view>

#include "model/specification_model.h"

namespace dovrek {

// Appends to *collected the text after the line's first "'", followed by a line feed. The quote
// may stand anywhere; in complete mode, not inside a double-quoted string. Nothing when the line
// holds no "'", or when Cmt is on and the line holds two quotes in a row anywhere. With Trim on,
// the comment keeps the line's indentation plus one blank for the quote.
void CollectComment(std::string_view line, const Options& options, std::string* collected);

}  // namespace dovrek

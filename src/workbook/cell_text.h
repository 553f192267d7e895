#pragma once
// Cell text as SpreadsheetML stores it. XML 1.0 cannot hold most control characters, so a cell
// text carries them as "_xHHHH_" (the code unit in hex); a literal "_xHHHH_" in the text has its
// underscore written as "_x005F_" (as does any "_x" followed by a hex digit, since an escape
// written next to it could close it) so that every text comes back unchanged.

#include <cstddef>
#include <string>
#include <string_view>

namespace dovrek {

// The most characters (UTF-16 code units, as the spreadsheet counts them) a cell holds.
inline constexpr size_t kMaxCellCharacters = 32767;

// The UTF-8 text ready to be put in a <t> element (XML markup escaping is left to the XML
// writer): characters XML 1.0 cannot hold, and carriage returns (which XML readers turn into
// line feeds), become "_xHHHH_"; the "_" of a literal "_x" and hex digit becomes "_x005F_";
// a byte that is not valid UTF-8 becomes U+FFFD.
std::string EncodeCellText(std::string_view text);

// The length of the longest beginning of `text` that EncodeCellText keeps as it stands; all of
// it for most texts, which can then be stored without being copied.
size_t KeptAsItStands(std::string_view text);

// The inverse of EncodeCellText: every "_xHHHH_" becomes its character (a pair of surrogate
// escapes one character, a lone surrogate U+FFFD).
std::string DecodeCellText(std::string_view stored);

// The beginning of `text` of at most kMaxCellCharacters UTF-16 code units, never cut inside a
// character. *cut tells whether anything was left off.
std::string_view LimitCellText(std::string_view text, bool* cut);

}  // namespace dovrek

#pragma once
// What the source text of a window's property says: a quoted text, a number (decimal, or
// hexadecimal as colours are written), or a reference into the window's binary companion file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dovrek {

// `"x.frx":0000` or `$"x.frx":0000`: the companion file as the source names it, the offset of
// the record in it (hexadecimal in the source), and whether the record is a long text (the
// "$" form, with a 32-bit length).
struct CompanionReference {
  std::string FileName;
  uint32_t Offset = 0;
  bool LongText = false;

  bool operator==(const CompanionReference&) const = default;
};

// The text of a quoted value, its doubled quotes made single; nullopt when the value is not
// a quoted text (a number, a reference, a shortcut).
std::optional<std::string> QuotedText(std::string_view source);

// The number a value starts with, a trailing comment ignored: "3  'Fixed Dialog" is 3,
// "-1  'True" is -1, "120.5" is 120.5, "&H8000000F&" and "&H00FF00&" are read as unsigned
// hexadecimal. nullopt for any other text.
std::optional<double> NumberValue(std::string_view source);

// A number held to the range of a 32-bit integer and cut to a whole one, for the values that
// count (a tab, an index, a style): a hostile source may say 1e300.
int32_t WholeNumber(double value);

// The reference a value makes into the companion file; nullopt for any other value.
std::optional<CompanionReference> CompanionReferenceOf(std::string_view source);

// The value with a trailing comment and the blanks before it removed; a quoted text keeps
// every character inside its quotes.
std::string_view WithoutComment(std::string_view source);

}  // namespace dovrek

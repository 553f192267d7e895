#include "source/property_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace dovrek {
namespace {

// The position just past a quoted text that starts at text[0], doubled quotes inside it
// passed over; text.size() when the closing quote is missing.
size_t PastQuotedText(std::string_view text) {
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] != '"') continue;
    if (i + 1 < text.size() && text[i + 1] == '"') {
      ++i;
    } else {
      return i + 1;
    }
  }
  return text.size();
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<double> HexValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    if (!IsHexDigit(c)) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  return static_cast<double>(value);
}

}  // namespace

std::string_view WithoutComment(std::string_view source) {
  size_t end = !source.empty() && source.front() == '"' ? PastQuotedText(source) : 0;
  end = source.find('\'', end);
  source = source.substr(0, end);
  while (!source.empty() && (source.back() == ' ' || source.back() == '\t')) source.remove_suffix(1);
  return source;
}

std::optional<std::string> QuotedText(std::string_view source) {
  if (source.empty() || source.front() != '"') return std::nullopt;
  const size_t end = PastQuotedText(source);
  if (end < source.size() && source[end] == ':') return std::nullopt;  // a companion reference
  std::string text;
  for (size_t i = 1; i < end; ++i) {
    if (source[i] == '"') {
      if (i + 1 == end) break;  // the closing quote
      ++i;                      // a doubled quote stands for one
    }
    text += source[i];
  }
  return text;
}

std::optional<double> NumberValue(std::string_view source) {
  std::string_view value = WithoutComment(source);
  if (value.size() > 2 && value[0] == '&' && (value[1] == 'H' || value[1] == 'h')) {
    value.remove_prefix(2);
    if (!value.empty() && value.back() == '&') value.remove_suffix(1);
    return HexValue(value);
  }
  if (value.empty() || value.size() > 64) return std::nullopt;
  const std::string text(value);
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || text.find_first_of("xXpPnN") != std::string::npos) {
    return std::nullopt;  // not wholly a decimal number (strtod also takes hex, inf and nan)
  }
  return number;
}

int32_t WholeNumber(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

std::optional<CompanionReference> CompanionReferenceOf(std::string_view source) {
  CompanionReference reference;
  if (!source.empty() && source.front() == '$') {
    reference.LongText = true;
    source.remove_prefix(1);
  }
  if (source.empty() || source.front() != '"') return std::nullopt;
  const size_t end = PastQuotedText(source);
  if (end >= source.size() || source[end] != ':') return std::nullopt;
  std::optional<std::string> name = QuotedText(source.substr(0, end));
  std::optional<double> offset = HexValue(WithoutComment(source.substr(end + 1)));
  if (!name || name->empty() || !offset) return std::nullopt;
  reference.FileName = std::move(*name);
  reference.Offset = static_cast<uint32_t>(*offset);
  return reference;
}

}  // namespace dovrek

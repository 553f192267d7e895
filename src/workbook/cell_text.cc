#include "workbook/cell_text.h"

#include <cstdint>

#include "codepage/text_codec.h"

namespace dovrek {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsXmlCharacter(char32_t code) {
  return code == 0x9 || code == 0xA || (code >= 0x20 && code <= 0xD7FF) ||
         (code >= 0xE000 && code <= 0xFFFD) || code >= 0x10000;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code unit of an "_xHHHH_" at text[pos], or -1 when there is none.
int32_t EscapeAt(std::string_view text, size_t pos) {
  if (pos + 7 > text.size() || text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_') {
    return -1;
  }
  int32_t value = 0;
  for (size_t i = pos + 2; i < pos + 6; ++i) {
    int digit = HexValue(text[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// True when "_x" and a hex digit stand at text[pos]. Its "_" is escaped even when no full
// "_xHHHH_" follows: an escape written for the next character could complete it, and some
// readers take shorter forms such as "_x00_" for escapes too.
bool StartsLikeAnEscape(std::string_view text, size_t pos) {
  return pos + 3 <= text.size() && text[pos] == '_' && text[pos + 1] == 'x' &&
         HexValue(text[pos + 2]) >= 0;
}

void AppendEscape(uint32_t unit, std::string* out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out->append("_x");
  for (int shift = 12; shift >= 0; shift -= 4) out->push_back(kDigits[(unit >> shift) & 0xF]);
  out->push_back('_');
}

}  // namespace

size_t KeptAsItStands(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if ((c >= 0x20 && c < 0x80 && c != '_') || c == '\t' || c == '\n') {
      ++pos;
      continue;
    }
    // A three-byte character (most Japanese text) that XML holds.
    const char32_t code = ThreeByteCodePointAt(text, pos);
    if (code == 0 || code > 0xFFFD) break;
    pos += 3;
  }
  return pos;
}

std::string EncodeCellText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  size_t run = 0;  // text[run, pos) goes out as it stands: valid UTF-8 that XML can hold
  while (pos < text.size()) {
    pos += KeptAsItStands(text.substr(pos));
    if (pos == text.size()) break;
    size_t start = pos;
    if (StartsLikeAnEscape(text, pos)) {
      out.append(text.substr(run, start - run));
      AppendEscape('_', &out);
      run = ++pos;
      continue;
    }
    char32_t code = NextCodePoint(text, &pos);
    bool valid = code != kReplacement || text.substr(start, 3) == "\xEF\xBF\xBD";
    if (valid && IsXmlCharacter(code)) continue;
    out.append(text.substr(run, start - run));
    if (valid) {
      AppendEscape(code, &out);
    } else {
      AppendUtf8(kReplacement, &out);
    }
    run = pos;
  }
  out.append(text.substr(run));
  return out;
}

std::string DecodeCellText(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  size_t pos = 0;
  while (pos < stored.size()) {
    int32_t unit = EscapeAt(stored, pos);
    if (unit < 0) {
      out.push_back(stored[pos++]);
      continue;
    }
    pos += 7;
    char32_t code = static_cast<char32_t>(unit);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      int32_t low = EscapeAt(stored, pos);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        pos += 7;
      } else {
        code = kReplacement;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      code = kReplacement;
    }
    AppendUtf8(code, &out);
  }
  return out;
}

std::string_view LimitCellText(std::string_view text, bool* cut) {
  // No character takes more UTF-16 code units than UTF-8 bytes, so a text no longer in bytes
  // than the limit fits without counting.
  if (text.size() <= kMaxCellCharacters) {
    *cut = false;
    return text;
  }
  size_t units = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t start = pos;
    char32_t code = NextCodePoint(text, &pos);
    units += code >= 0x10000 ? 2 : 1;
    if (units > kMaxCellCharacters) {
      *cut = true;
      return text.substr(0, start);
    }
  }
  *cut = false;
  return text;
}

}  // namespace dovrek

#include "report/workbook/cell_text.h"

#include <cstdint>

namespace dovrek {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 character at text[*pos] and advances *pos. An invalid sequence gives one
// U+FFFD for each maximal subpart, as the Unicode Standard recommends and as the text codec
// sanitizes, so that a text reads back the same whichever of the two saw it first.
char32_t NextCodePoint(std::string_view text, size_t* pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(*pos);
  if (lead < 0x80) {
    ++*pos;
    return lead;
  }
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    ++*pos;
    return kReplacement;
  }
  char32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if (*pos + i >= text.size() || byte(*pos + i) < low || byte(*pos + i) > high) {
      *pos += i;
      return kReplacement;
    }
    code = (code << 6) | (byte(*pos + i) & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  *pos += length;
  return code;
}

void AppendUtf8(char32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

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

void AppendEscape(uint32_t unit, std::string* out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out->append("_x");
  for (int shift = 12; shift >= 0; shift -= 4) out->push_back(kDigits[(unit >> shift) & 0xF]);
  out->push_back('_');
}

// True when text[pos] starts "_x" and four hex digits. Its "_" is escaped whatever follows: the
// next character may itself come out as an escape starting with "_", which would complete
// "_xHHHH_" in the stored text.
bool StartsLikeEscape(std::string_view text, size_t pos) {
  if (pos + 6 > text.size() || text[pos] != '_' || text[pos + 1] != 'x') return false;
  for (size_t i = pos + 2; i < pos + 6; ++i) {
    if (HexValue(text[i]) < 0) return false;
  }
  return true;
}

}  // namespace

std::string EncodeCellText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    if (StartsLikeEscape(text, pos)) {
      AppendEscape('_', &out);
      ++pos;
      continue;
    }
    char32_t code = NextCodePoint(text, &pos);
    if (IsXmlCharacter(code)) {
      AppendUtf8(code, &out);
    } else {
      AppendEscape(code, &out);
    }
  }
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

std::string LimitCellText(std::string_view text, bool* cut) {
  size_t units = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t start = pos;
    char32_t code = NextCodePoint(text, &pos);
    units += code >= 0x10000 ? 2 : 1;
    if (units > kMaxCellCharacters) {
      *cut = true;
      return std::string(text.substr(0, start));
    }
  }
  *cut = false;
  return std::string(text);
}

}  // namespace dovrek

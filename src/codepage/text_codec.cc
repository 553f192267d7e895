#include "codepage/text_codec.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/byte_words.h"

namespace dovrek {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

char* PutCodePoint(uint32_t cp, char* put) {
  if (cp < 0x80) {
    *put++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *put++ = static_cast<char>(0xC0 | (cp >> 6));
    *put++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *put++ = static_cast<char>(0xE0 | (cp >> 12));
    *put++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *put++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *put++ = static_cast<char>(0xF0 | (cp >> 18));
    *put++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *put++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *put++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return put;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Single bytes that Windows maps outside iconv's CP932 table; they round-trip both ways.
constexpr std::array<std::pair<unsigned char, uint32_t>, 5> kWindowsSingleBytes = {
    {{0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}}};

// A character below U+10000 as UTF-8: up to three bytes, then their count (0: no character).
// Written four bytes at once, of which the count are kept.
using Utf8Char = std::array<char, 4>;

Utf8Char Utf8CharOf(uint32_t cp) {
  Utf8Char c{};
  c[3] = static_cast<char>(PutCodePoint(cp, c.data()) - c.data());
  return c;
}

// Every double-byte character of code page 932, as UTF-8, built once from iconv.
class DoubleByteTable {
 public:
  DoubleByteTable() {
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (uint32_t cp = Convert(cd, lead, trail)) chars_[Index(lead, trail)] = Utf8CharOf(cp);
      }
    }
    iconv_close(cd);
  }
  // The character of a pair; its count is 0 when the pair is not a character.
  const Utf8Char& Lookup(unsigned char lead, unsigned char trail) const {
    static constexpr Utf8Char kNone{};
    if (trail < 0x40 || trail > 0xFC) return kNone;
    return chars_[Index(lead, trail)];
  }

 private:
  static size_t Index(unsigned lead, unsigned trail) { return (lead - 0x80) * 256 + trail; }
  static uint32_t Convert(iconv_t cd, unsigned lead, unsigned trail) {
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    uint32_t cp = 0;
    char* in_ptr = in;
    size_t in_left = 2;
    char* out_ptr = reinterpret_cast<char*>(&cp);
    size_t out_left = sizeof cp;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1)) return 0;
    // Code page 932 has no character beyond U+FFFF.
    return (in_left == 0 && out_left == 0 && cp < 0x10000) ? cp : 0;
  }
  std::array<Utf8Char, 0x7D * 256> chars_{};
};

const DoubleByteTable& Table() {
  static const DoubleByteTable table;
  return table;
}

uint32_t SingleByte(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xA1 && b <= 0xDF) return 0xFF61 + (b - 0xA1);
  for (const auto& [byte, cp] : kWindowsSingleBytes) {
    if (byte == b) return cp;
  }
  return 0xFFFD;
}

// The length of the valid UTF-8 sequence at s[i], or of its maximal invalid subpart as a
// negative number.
int Utf8SequenceAt(std::string_view s, size_t i) {
  unsigned char b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) return 1;
  int need;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return -1;
  }
  for (int k = 1; k <= need; ++k) {
    if (i + k >= s.size()) return -k;
    unsigned char b = static_cast<unsigned char>(s[i + k]);
    if (b < lo || b > hi) return -k;
    lo = 0x80;
    hi = 0xBF;
  }
  return need + 1;
}

// The single byte that stands for a UTF-8 character outside iconv's table, or 0.
uint32_t WindowsSingleByteFor(std::string_view ch) {
  // Built once: this runs for every non-ASCII character written.
  static const std::array<std::string, kWindowsSingleBytes.size()> mapped = [] {
    std::array<std::string, kWindowsSingleBytes.size()> utf8;
    for (size_t i = 0; i < utf8.size(); ++i) AppendUtf8(kWindowsSingleBytes[i].second, &utf8[i]);
    return utf8;
  }();
  for (size_t i = 0; i < mapped.size(); ++i) {
    if (mapped[i] == ch) return kWindowsSingleBytes[i].first;
  }
  return 0;
}

// The code page 932 bytes of one multi-byte UTF-8 character: a Windows single byte, what iconv
// writes, or "?". Remembered per character, as a lookup costs far less than iconv.
const std::string& Cp932Character(std::string_view ch) {
  thread_local std::unordered_map<std::string, std::string> cache;
  auto [entry, added] = cache.try_emplace(std::string(ch));
  if (!added) return entry->second;
  if (uint32_t byte = WindowsSingleByteFor(ch)) {
    entry->second.assign(1, static_cast<char>(byte));
    return entry->second;
  }
  entry->second.assign(1, '?');
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return entry->second;
  char buffer[8];
  char* in_ptr = const_cast<char*>(ch.data());
  size_t in_left = ch.size();
  char* out_ptr = buffer;
  size_t out_left = sizeof buffer;
  if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<size_t>(-1)) {
    entry->second.assign(buffer, sizeof buffer - out_left);
  }
  iconv_close(cd);
  return entry->second;
}

// The code page 932 bytes of one valid multi-byte UTF-8 character, packed: the byte count
// above the bytes. Characters below U+10000 are remembered in a flat table indexed by code
// point, as hashing the character for every lookup cost more than all the rest of encoding;
// a slot is 0 while unknown, and stays 0 for a character whose bytes do not fit.
class Cp932Slots {
 public:
  Cp932Slots() : packed_(0x10000, 0) {}

  // The packed bytes of `ch`, or 0 when they must be taken from Cp932Character.
  uint32_t Lookup(std::string_view ch) {
    if (ch.size() > 3) return 0;
    auto byte = [&ch](size_t k) {
      return static_cast<uint32_t>(static_cast<unsigned char>(ch[k]));
    };
    uint32_t cp = ch.size() == 2
                      ? ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F)
                      : ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    uint32_t& slot = packed_[cp];
    if (slot == 0) {
      const std::string& bytes = Cp932Character(ch);
      if (bytes.empty() || bytes.size() > 2) return 0;
      slot = static_cast<uint32_t>(bytes.size()) << 16;
      for (unsigned char b : bytes) slot = (slot & 0xFF0000) | ((slot & 0xFF) << 8) | b;
    }
    return slot;
  }

  // The packed bytes of code point `cp` below U+10000 if looked up before, else 0.
  uint32_t Known(uint32_t cp) const { return packed_[cp]; }

 private:
  std::vector<uint32_t> packed_;
};

// The packed bytes of a valid three-byte UTF-8 character at s[i] (most Japanese text) that the
// slots know already; 0 for anything else, which takes the general way.
uint32_t ThreeByteSlot(std::string_view s, size_t i, const Cp932Slots& slots) {
  const char32_t cp = ThreeByteCodePointAt(s, i);
  return cp == 0 ? 0 : slots.Known(cp);
}

// Writes the code page 932 bytes of one valid multi-byte UTF-8 character at `put` in *out and
// answers where the next goes. They take no more room than the character (at most two bytes,
// or "?"); should they ever take more, *out grows to hold them.
char* PutCp932Character(std::string_view ch, Cp932Slots& slots, std::string* out, char* put) {
  if (uint32_t slot = slots.Lookup(ch)) {
    if ((slot >> 16) == 2) *put++ = static_cast<char>((slot >> 8) & 0xFF);
    *put++ = static_cast<char>(slot & 0xFF);
    return put;
  }
  const std::string& bytes = Cp932Character(ch);
  if (bytes.size() > ch.size()) {
    const size_t at = static_cast<size_t>(put - out->data());
    out->insert(at, bytes.size() - ch.size(), '\0');
    put = out->data() + at;
  }
  return std::copy(bytes.begin(), bytes.end(), put);
}

// The length of a text from which AppendCp932AsUtf8 measures before it writes.
constexpr size_t kMeasuredFrom = 1 << 16;

// Hands each character of code-page-932 bytes to the sink as a Utf8Char, and eight ASCII
// bytes in a row at once to its Ascii8. A lead byte without a valid trail is U+FFFD and the
// byte after it is decoded on its own.
template <typename Sink>
void DecodeCp932(std::string_view bytes, Sink& sink) {
  const DoubleByteTable& table = Table();
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    if (uint64_t word; AsciiWordAt(bytes, i, &word)) {
      sink.Ascii8(word);
      i += 8;
      continue;
    }
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      sink.Char(Utf8Char{static_cast<char>(b), 0, 0, 1});
      ++i;
      continue;
    }
    if (IsLeadByte(b) && i + 1 < n) {
      const Utf8Char& c = table.Lookup(b, static_cast<unsigned char>(bytes[i + 1]));
      if (c[3] != 0) {
        sink.Char(c);
        i += 2;
        continue;
      }
    }
    sink.Char(Utf8CharOf(IsLeadByte(b) ? 0xFFFD : SingleByte(b)));
    ++i;
  }
}

// Counts the UTF-8 bytes of what DecodeCp932 hands over.
struct Utf8Measure {
  size_t bytes = 0;
  void Ascii8(uint64_t) { bytes += 8; }
  void Char(const Utf8Char& c) { bytes += static_cast<size_t>(c[3]); }
};

// Writes what DecodeCp932 hands over at `put`, which needs three bytes of room beyond the
// last character: each is written four bytes at once.
struct Utf8Writer {
  char* put;
  void Ascii8(uint64_t word) {
    std::memcpy(put, &word, sizeof word);
    put += sizeof word;
  }
  void Char(const Utf8Char& c) {
    std::memcpy(put, c.data(), c.size());
    put += c[3];
  }
};

// What Windows-1252 bytes 0x80 to 0x9F stand for; zero for the bytes the code page leaves
// undefined. The other bytes stand for the code point of their own value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The Windows-1252 byte of a code point, "?" when the code page has none.
char Cp1252ByteFor(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (size_t i = 0; i < std::size(kCp1252High); ++i) {
    if (kCp1252High[i] != 0 && kCp1252High[i] == code) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendCp1252(std::string_view utf8, std::string* out) {
  for (size_t pos = 0; pos < utf8.size();) {
    out->push_back(Cp1252ByteFor(NextCodePoint(utf8, &pos)));
  }
}

}  // namespace

bool IsAscii(std::string_view bytes) {
  // Eight bytes at a time while they are ASCII; the rest byte by byte.
  size_t i = 0;
  for (uint64_t word; AsciiWordAt(bytes, i, &word);) i += 8;
  for (; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
  }
  return true;
}

void AppendCp1252AsUtf8(std::string_view bytes, std::string* out) {
  out->reserve(out->size() + bytes.size());
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out->push_back(c);
    } else if (b < 0xA0) {
      AppendUtf8(kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : 0xFFFD, out);
    } else {
      AppendUtf8(b, out);
    }
  }
}

void AppendCp932AsUtf8(std::string_view bytes, std::string* out) {
  // No byte gives more than three bytes of UTF-8 (a pair gives at most three, a single byte
  // or an invalid lead U+FFFD's three), so the characters are written straight into room
  // made once, not appended one by one. A long text is measured first, so that its room is
  // not three times its length.
  size_t room = 3 * bytes.size();
  if (bytes.size() > kMeasuredFrom) {
    Utf8Measure measure;
    DecodeCp932(bytes, measure);
    room = measure.bytes;
  }
  const size_t old_size = out->size();
  out->resize(old_size + room + 3);
  Utf8Writer writer{out->data() + old_size};
  DecodeCp932(bytes, writer);
  out->resize(static_cast<size_t>(writer.put - out->data()));
}

void AppendUtf8(char32_t code, std::string* out) {
  char bytes[4];
  out->append(bytes, static_cast<size_t>(PutCodePoint(code, bytes) - bytes));
}

char32_t NextCodePoint(std::string_view text, size_t* pos) {
  int n = Utf8SequenceAt(text, *pos);
  if (n <= 0) {
    *pos += static_cast<size_t>(-n);
    return 0xFFFD;
  }
  const auto byte = [&](int k) {
    return static_cast<unsigned char>(text[*pos + static_cast<size_t>(k)]);
  };
  char32_t code = n == 1 ? byte(0) : byte(0) & (0x7F >> n);
  for (int k = 1; k < n; ++k) code = (code << 6) | (byte(k) & 0x3F);
  *pos += static_cast<size_t>(n);
  return code;
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      uint64_t word;
      i += AsciiWordAt(bytes, i, &word) ? 8 : 1;
      continue;
    }
    if (ThreeByteCodePointAt(bytes, i) != 0) {
      i += 3;
      continue;
    }
    int n = Utf8SequenceAt(bytes, i);
    if (n <= 0) return false;
    i += static_cast<size_t>(n);
  }
  return true;
}

void AppendSanitizedUtf8(std::string_view bytes, std::string* out) {
  size_t i = 0;
  while (i < bytes.size()) {
    int n = Utf8SequenceAt(bytes, i);
    if (n > 0) {
      out->append(bytes.data() + i, static_cast<size_t>(n));
      i += static_cast<size_t>(n);
    } else {
      out->append(kReplacement);
      i += static_cast<size_t>(-n);
    }
  }
}

std::string EncodeCp932(std::string_view utf8) {
  std::string out;
  AppendCp932(utf8, &out);
  return out;
}

// The room for the whole text is made once and filled through a pointer: no character takes
// more bytes in code page 932 than in UTF-8, and an invalid sequence becomes one "?".
void AppendCp932(std::string_view utf8, std::string* out) {
  thread_local Cp932Slots slots;
  const size_t start = out->size();
  out->resize(start + utf8.size());
  char* put = out->data() + start;
  size_t i = 0;
  while (i < utf8.size()) {
    if (uint64_t word; AsciiWordAt(utf8, i, &word)) {
      std::memcpy(put, &word, 8);
      put += 8;
      i += 8;
    } else if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      *put++ = utf8[i++];
    } else if (uint32_t slot = ThreeByteSlot(utf8, i, slots)) {
      if ((slot >> 16) == 2) *put++ = static_cast<char>((slot >> 8) & 0xFF);
      *put++ = static_cast<char>(slot & 0xFF);
      i += 3;
    } else if (int n = Utf8SequenceAt(utf8, i); n <= 0) {
      *put++ = '?';
      i += static_cast<size_t>(-n);
    } else {
      put = PutCp932Character(utf8.substr(i, static_cast<size_t>(n)), slots, out, put);
      i += static_cast<size_t>(n);
    }
  }
  out->resize(static_cast<size_t>(put - out->data()));
}

void AppendDecoded(std::string_view bytes, Encoding encoding, std::string* out) {
  switch (encoding) {
    case Encoding::kUtf8:
      return AppendSanitizedUtf8(bytes, out);
    case Encoding::kCp1252:
      return AppendCp1252AsUtf8(bytes, out);
    case Encoding::kCp932:
      break;
  }
  AppendCp932AsUtf8(bytes, out);
}

void AppendEncodedText(std::string_view utf8, Encoding encoding, std::string* out) {
  switch (encoding) {
    case Encoding::kUtf8:
      out->append(utf8);
      return;
    case Encoding::kCp1252:
      return AppendCp1252(utf8, out);
    case Encoding::kCp932:
      break;
  }
  AppendCp932(utf8, out);
}

}  // namespace dovrek

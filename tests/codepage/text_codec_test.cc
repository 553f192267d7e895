#include "codepage/text_codec.h"

#include <gtest/gtest.h>

namespace dovrek {
namespace {

std::string Decode(const std::string& bytes) {
  std::string out;
  AppendCp932AsUtf8(bytes, &out);
  return out;
}

std::string Sanitize(const std::string& bytes) {
  std::string out;
  AppendSanitizedUtf8(bytes, &out);
  return out;
}

TEST(TextCodecTest, DecodesCp932AsWindowsDoes) {
  struct Case {
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {"abc", "abc"},
      {"\x95\x5C", "表"},  // trail byte is "\"
      {"\x87\x40", "①"},   // NEC row 13
      {"\x81\x60", "～"},  // FULLWIDTH TILDE, not WAVE DASH
      {"\xB1\xB2", "ｱｲ"},  // half-width katakana
      {"\x80\xA0\xFD\xFE\xFF", "\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
      {"\x81", "\uFFFD"},  // lead byte at the end
      {"\x81\x20"
       "a",
       "\uFFFD a"},       // invalid trail decoded on its own
      {"\xFA\x40", "ⅰ"},  // IBM extension
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"0123456789\x95\x5C", "0123456789表"},  // eight ASCII bytes at once, then the rest
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.bytes), c.utf8) << c.utf8;
  // A long text is measured before it is written: its room is exactly what it takes.
  for (const char* end : {"a", "\x95\x5C", "\xB1", "\x81"}) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
      text +=
          "x\x95\x5C\xB1"
          "abcdefgh";
    EXPECT_EQ(Decode(text + end),
              Decode(text.substr(0, 60000)) + Decode(text.substr(60000)) + Decode(end));
  }
}

TEST(TextCodecTest, SanitizesUtf8ByMaximalSubpart) {
  struct Case {
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {"héllo", "héllo"},
      {"\xC3", "\uFFFD"},
      {"\xE3\x81", "\uFFFD"},  // truncated three-byte sequence: one replacement
      {"\xE3\x81"
       "a",
       "\uFFFD"
       "a"},
      {"\xC0\xAF", "\uFFFD\uFFFD"},            // overlong: each byte on its own
      {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},  // surrogate
      {"\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xF0\x9F\x98\x80", "😀"},
      {"日本語\xE3\x81", "日本語\uFFFD"},
      {"\xEF\xBF\xBF\xE0\xA0\x80", "\uFFFF\u0800"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sanitize(c.bytes), c.utf8) << c.utf8;
    EXPECT_EQ(IsValidUtf8(c.bytes), c.bytes == c.utf8) << c.utf8;
  }
}

TEST(TextCodecTest, EncodesCp932AsIconvWrites) {
  struct Case {
    std::string utf8;
    std::string bytes;
  } cases[] = {
      {"abc", "abc"},
      {"表示", "\x95\x5C\x8E\xA6"},
      {"■", "\x81\xA1"},
      {"　：", "\x81\x40\x81\x46"},
      {"\u0080\uF8F0\uF8F3", "\x80\xA0\xFF"},
      {"😀x", "?x"},
      {"é", "?"},
      {"a\x80"
       "b\xE8\xA1",
       "a?b?"},                                // a stray and a cut-off sequence
      {"\xED\xA0\x80\xE0\x80\x80", "??????"},  // a surrogate, an overlong form
      {"abcdefgh表示ijklmno表", "abcdefgh\x95\x5C\x8E\xA6ijklmno\x95\x5C"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeCp932(c.utf8), c.bytes) << c.utf8;
}

TEST(TextCodecTest, EveryCp932ByteSurvivesARoundTrip) {
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      std::string utf8 = Decode(bytes);
      if (utf8.find("\uFFFD") != std::string::npos) continue;
      std::string back = EncodeCp932(utf8);
      // Duplicates (NEC-selected IBM rows) come back as the one form iconv prefers.
      EXPECT_EQ(Decode(back), utf8) << std::hex << lead << " " << trail;
    }
  }
  for (int b = 0x80; b <= 0xFF; ++b) {
    if ((b > 0x80 && b < 0xA0) || (b >= 0xE0 && b <= 0xFC)) continue;
    std::string bytes(1, static_cast<char>(b));
    EXPECT_EQ(EncodeCp932(Decode(bytes)), bytes) << b;
  }
}

}  // namespace
}  // namespace dovrek

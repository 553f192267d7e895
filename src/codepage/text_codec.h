#pragma once
// Conversions between the bytes of text files and the UTF-8 held inside the program.
// Input is code page 932 as Windows decodes it, or UTF-8 when the file starts with a
// byte-order mark. Decoding never fails: an invalid sequence becomes U+FFFD.

#include <string>
#include <string_view>

#include "codepage/encoding.h"

namespace dovrek {

// Appends the UTF-8 form of code-page-932 bytes to *out. A lead byte without a valid trail
// becomes U+FFFD and the byte after it is decoded on its own.
void AppendCp932AsUtf8(std::string_view bytes, std::string* out);

// Appends the UTF-8 form of Windows-1252 bytes to *out. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD.
void AppendCp1252AsUtf8(std::string_view bytes, std::string* out);

// Appends bytes that should be UTF-8 to *out, each maximal invalid subpart becoming U+FFFD.
void AppendSanitizedUtf8(std::string_view bytes, std::string* out);

// Appends the UTF-8 form of bytes in the given encoding to *out, as the three above do.
void AppendDecoded(std::string_view bytes, Encoding encoding, std::string* out);

// Code page 932 bytes for a UTF-8 text; a character the code page cannot hold becomes "?".
std::string EncodeCp932(std::string_view utf8);
void AppendCp932(std::string_view utf8, std::string* out);

// Appends the bytes of a UTF-8 text in the given encoding to *out, so that a writer can reuse
// one buffer. A character the encoding cannot hold becomes "?".
void AppendEncodedText(std::string_view utf8, Encoding encoding, std::string* out);

// Appends the UTF-8 form of a code point.
void AppendUtf8(char32_t code, std::string* out);

// The code point at text[*pos], advancing *pos past it; a maximal invalid subpart gives
// U+FFFD, as AppendSanitizedUtf8 does.
char32_t NextCodePoint(std::string_view text, size_t* pos);

// The code point of a valid three-byte UTF-8 sequence at text[pos] (most Japanese text), or 0
// when none stands there: a quick test for the common case before NextCodePoint.
inline char32_t ThreeByteCodePointAt(std::string_view text, size_t pos) {
  if (pos + 3 > text.size()) return 0;
  auto byte = [&](size_t k) {
    return static_cast<char32_t>(static_cast<unsigned char>(text[pos + k]));
  };
  if ((byte(0) & 0xF0) != 0xE0 || (byte(1) & 0xC0) != 0x80 || (byte(2) & 0xC0) != 0x80) return 0;
  const char32_t cp = ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
  return cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF) ? 0 : cp;  // overlong, or a surrogate
}

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// True when every byte is below 0x80.
bool IsAscii(std::string_view bytes);

}  // namespace dovrek

#include "workbook/wrapped_lines.h"

#include <algorithm>
#include <cmath>

namespace dovrek {
namespace {

// The places the UTF-8 character starting at text[at] takes, and its length in bytes.
struct Character {
  int32_t places;
  size_t bytes;
};

Character CharacterAt(std::string_view text, size_t at) {
  unsigned char lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {1, 1};
  size_t bytes = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  bytes = std::min(bytes, text.size() - at);
  // Half-width katakana and their marks, U+FF61 to U+FF9F: EF BD A1 to EF BE 9F.
  if (bytes == 3 && lead == 0xEF) {
    unsigned char second = static_cast<unsigned char>(text[at + 1]);
    unsigned char third = static_cast<unsigned char>(text[at + 2]);
    if ((second == 0xBD && third >= 0xA1) || (second == 0xBE && third <= 0x9F)) return {1, 3};
  }
  return {2, bytes};
}

// The lines one line of text (no line feed in it) wraps into.
int32_t LinesOfOneLine(std::string_view line, int32_t places) {
  int32_t lines = 1;
  int32_t used = 0;  // places taken on the current line
  size_t at = 0;
  while (at < line.size()) {
    if (line[at] == ' ') {  // a break opportunity; a space at a line's end hangs past it
      ++used;
      ++at;
      continue;
    }
    // A word: a run of ASCII characters other than the space, or one wider character.
    int32_t word = 0;
    Character first = CharacterAt(line, at);
    if (first.bytes > 1) {
      word = first.places;
      at += first.bytes;
    } else {
      while (at < line.size() && line[at] != ' ' && static_cast<unsigned char>(line[at]) < 0x80) {
        ++word;
        ++at;
      }
    }
    if (used + word <= places) {
      used += word;
    } else if (word <= places) {
      ++lines;
      used = word;
    } else {
      // Too long for any line: it starts on a line of its own and fills whole lines.
      if (used > 0) ++lines;
      lines += (word - 1) / places;
      used = word - (word - 1) / places * places;
    }
  }
  return lines;
}

}  // namespace

int32_t ColumnPlaces(double width, double default_font_size, double cell_font_size) {
  if (!(width > 0) || !(default_font_size > 0) || !(cell_font_size > 0)) return 1;
  double places = std::floor(width * default_font_size / cell_font_size);
  return static_cast<int32_t>(std::clamp(places, 1.0, 1.0e6));
}

int32_t WrappedLineCount(std::string_view text, int32_t places) {
  places = std::max(places, 1);
  int32_t count = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      count += LinesOfOneLine(text.substr(start), places) - 1;
      break;
    }
    count += LinesOfOneLine(text.substr(start, end - start), places);
    start = end + 1;
  }
  return count;
}

}  // namespace dovrek

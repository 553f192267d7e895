#include "base/text_helpers.h"

#include <algorithm>
#include <limits>

namespace dovrek {

std::string_view TrimSpaces(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

std::string FolderPart(std::string_view path) {
  size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return {};
  return std::string(TrimSpaces(path.substr(0, slash)));
}

std::string FileNamePart(std::string_view path) {
  size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return std::string(TrimSpaces(path));
  return std::string(TrimSpaces(path.substr(slash + 1)));
}

std::string ValueOrDefault(std::string_view value, std::string_view fallback) {
  return std::string(value.empty() ? fallback : value);
}

int16_t CountLineFeeds(std::string_view text) {
  size_t count = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  return static_cast<int16_t>(std::min<size_t>(count, std::numeric_limits<int16_t>::max()));
}

bool IsAbsoluteWindowsPath(std::string_view path) {
  return (!path.empty() && path[0] == '\\') || (path.size() >= 2 && path[1] == ':');
}

std::string RemoveDoubleQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '"') out.push_back(c);
  }
  return out;
}

namespace {
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string AsciiSmall(std::string_view text) {
  std::string small(text);
  for (char& c : small) c = AsciiLower(c);
  return small;
}

size_t CountCharacters(std::string_view utf8) {
  size_t count = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace dovrek

namespace dovrek {

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace dovrek

#pragma once
// Small pure text and path functions that the readers, the driver and the reports share.
// The path functions take Windows-form paths (a project's member paths): only "\" separates
// folders.

#include <cstdint>
#include <string>
#include <string_view>

namespace dovrek {

// The text with leading and trailing spaces (U+0020 only) removed.
std::string_view TrimSpaces(std::string_view text);

// Everything before the last "\", trimmed; empty when there is no "\".
std::string FolderPart(std::string_view path);

// Everything after the last "\", trimmed; the whole path, trimmed, when there is no "\".
std::string FileNamePart(std::string_view path);

// The default when the value is empty, else the value unchanged.
std::string ValueOrDefault(std::string_view value, std::string_view fallback);

// The number of line feeds (code 10) in the text, held to the 16-bit range.
int16_t CountLineFeeds(std::string_view text);

// True when a Windows-form path is absolute: it starts with "\" or with a drive letter and ":".
bool IsAbsoluteWindowsPath(std::string_view path);

// The text with every double quote removed.
std::string RemoveDoubleQuotes(std::string_view text);

// ASCII-only case-insensitive tests, the comparison used for keys and switches.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EqualsNoCase(std::string_view a, std::string_view b);

// The text with its ASCII letters A to Z made small; other bytes as they are. Two texts are
// EqualsNoCase exactly when these forms are equal.
std::string AsciiSmall(std::string_view text);

// The text on one line: each line feed or carriage return becomes a space.
std::string OneLine(std::string text);

// The number of Unicode characters in a UTF-8 text.
size_t CountCharacters(std::string_view utf8);

}  // namespace dovrek

#pragma once
// A Windows initialization (INI) file, read and written as the Windows profile functions do:
// section and key names match without regard to ASCII letter case, values are trimmed, a key
// written anew goes to the end of its section, and every line the program does not own keeps
// its bytes. The file is code page 932, or UTF-8 when it starts with the UTF-8 byte-order mark;
// lines the program adds end in CR LF.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dovrek {

class IniProfile {
 public:
  // Parses the bytes of a file (code page 932, or UTF-8 after a byte-order mark).
  explicit IniProfile(std::string_view bytes);

  // The value of a key, or nullopt when the section or the key is missing.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // Removes every line of the key from the section; no effect when missing.
  void Remove(std::string_view section, std::string_view key);
  // Adds the key behind the last key line of the section, creating the section at the end of
  // the file when it is missing.
  void Append(std::string_view section, std::string_view key, std::string_view value);

  // The bytes of the file.
  std::string Bytes() const;

 private:
  struct Line {
    std::string raw;     // the bytes of the line, without its end
    std::string ending;  // "\r\n", "\n", "\r" or "" for the last line
    std::string text;    // the decoded line
  };
  // The index range [first, last) of the section's body (lines after its header), or nullopt.
  std::optional<std::pair<size_t, size_t>> FindSection(std::string_view section) const;
  static std::optional<std::string> KeyOf(const Line& line);
  static std::string ValueOf(const Line& line);
  // The bytes of a line the program adds, in the file's encoding.
  std::string Encoded(const std::string& text) const;

  std::vector<Line> lines_;
  bool utf8_ = false;  // the file starts with the UTF-8 byte-order mark
};

}  // namespace dovrek

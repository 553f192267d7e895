#include "os/ini_profile.h"

#include "base/text_helpers.h"
#include "codepage/text_codec.h"

namespace dovrek {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// The section name of a header line "[name]", or nullopt for any other line.
std::optional<std::string> SectionOf(std::string_view text) {
  std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  size_t close = trimmed.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(TrimBlanks(trimmed.substr(1, close - 1)));
}

}  // namespace

IniProfile::IniProfile(std::string_view bytes) {
  // A file saved by an editor as UTF-8 with its byte-order mark is read as UTF-8; the mark
  // stays in the first line's bytes, so that it is written back as it was.
  utf8_ = bytes.starts_with(kUtf8Mark);
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    Line line;
    line.raw =
        std::string(bytes.substr(pos, end == std::string_view::npos ? bytes.npos : end - pos));
    if (end == std::string_view::npos) {
      pos = bytes.size();
    } else if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') {
      line.ending = "\r\n";
      pos = end + 2;
    } else {
      line.ending = std::string(1, bytes[end]);
      pos = end + 1;
    }
    std::string_view raw = line.raw;
    if (utf8_ && lines_.empty()) raw.remove_prefix(kUtf8Mark.size());
    if (utf8_) {
      AppendSanitizedUtf8(raw, &line.text);
    } else {
      AppendCp932AsUtf8(raw, &line.text);
    }
    lines_.push_back(std::move(line));
  }
}

std::string IniProfile::Encoded(const std::string& text) const {
  return utf8_ ? text : EncodeCp932(text);
}

std::optional<std::pair<size_t, size_t>> IniProfile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::optional<std::string> name = SectionOf(lines_[i].text);
    if (!name || !EqualsNoCase(*name, section)) continue;
    size_t last = i + 1;
    while (last < lines_.size() && !SectionOf(lines_[last].text)) ++last;
    return std::make_pair(i + 1, last);
  }
  return std::nullopt;
}

std::optional<std::string> IniProfile::KeyOf(const Line& line) {
  size_t equals = line.text.find('=');
  if (equals == std::string::npos) return std::nullopt;
  std::string_view key = TrimBlanks(std::string_view(line.text).substr(0, equals));
  if (key.empty() || key.front() == ';') return std::nullopt;
  return std::string(key);
}

std::string IniProfile::ValueOf(const Line& line) {
  std::string_view value = TrimBlanks(std::string_view(line.text).substr(line.text.find('=') + 1));
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::optional<std::string> IniProfile::Read(std::string_view section, std::string_view key) const {
  auto range = FindSection(section);
  if (!range) return std::nullopt;
  for (size_t i = range->first; i < range->second; ++i) {
    std::optional<std::string> name = KeyOf(lines_[i]);
    if (name && EqualsNoCase(*name, key)) return ValueOf(lines_[i]);
  }
  return std::nullopt;
}

void IniProfile::Remove(std::string_view section, std::string_view key) {
  auto range = FindSection(section);
  if (!range) return;
  for (size_t i = range->second; i-- > range->first;) {
    std::optional<std::string> name = KeyOf(lines_[i]);
    if (name && EqualsNoCase(*name, key)) lines_.erase(lines_.begin() + static_cast<long>(i));
  }
}

void IniProfile::Append(std::string_view section, std::string_view key, std::string_view value) {
  std::string text = std::string(key) + "=" + std::string(value);
  Line line{Encoded(text), "\r\n", text};
  auto range = FindSection(section);
  if (!range) {
    if (!lines_.empty() && lines_.back().ending.empty()) lines_.back().ending = "\r\n";
    // Built with += rather than +, of which GCC 12 warns falsely that the copies may overlap.
    std::string header = "[";
    header += section;
    header += ']';
    lines_.push_back(Line{Encoded(header), "\r\n", header});
    lines_.push_back(std::move(line));
    return;
  }
  size_t at = range->second;
  while (at > range->first && TrimBlanks(lines_[at - 1].text).empty()) --at;
  if (at > 0 && lines_[at - 1].ending.empty()) lines_[at - 1].ending = "\r\n";
  lines_.insert(lines_.begin() + static_cast<long>(at), std::move(line));
}

std::string IniProfile::Bytes() const {
  size_t size = 0;
  for (const Line& line : lines_) size += line.raw.size() + line.ending.size();
  std::string out;
  out.reserve(size);
  for (const Line& line : lines_) out.append(line.raw).append(line.ending);
  return out;
}

}  // namespace dovrek

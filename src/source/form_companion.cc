#include "source/form_companion.h"

#include "base/text_helpers.h"

namespace dovrek {

std::string CompanionExtension(std::string_view member_extension) {
  const std::pair<std::string_view, std::string_view> pairs[] = {
      {"frm", "frx"}, {"ctl", "ctx"}, {"pag", "pgx"}, {"dob", "dox"}};
  for (const auto& [member, companion] : pairs) {
    if (!EqualsNoCase(member_extension, member)) continue;
    std::string extension(companion);
    for (size_t i = 0; i < extension.size(); ++i) {
      if (member_extension[i] >= 'A' && member_extension[i] <= 'Z') extension[i] = static_cast<char>(extension[i] - 32);
    }
    return extension;
  }
  return {};
}


std::optional<std::string_view> FormCompanion::Bytes(uint64_t offset, uint64_t n) const {
  if (offset > bytes_.size() || n > bytes_.size() - offset) return std::nullopt;
  return std::string_view(bytes_).substr(offset, n);
}

std::optional<uint32_t> FormCompanion::Word(uint64_t offset) const {
  std::optional<std::string_view> b = Bytes(offset, 2);
  if (!b) return std::nullopt;
  return static_cast<uint32_t>(static_cast<unsigned char>((*b)[0])) |
         static_cast<uint32_t>(static_cast<unsigned char>((*b)[1])) << 8;
}

std::optional<uint32_t> FormCompanion::DWord(uint64_t offset) const {
  std::optional<uint32_t> low = Word(offset);
  std::optional<uint32_t> high = Word(offset + 2);
  if (!low || !high) return std::nullopt;
  return *low | *high << 16;
}

std::optional<std::string_view> FormCompanion::LongText(uint32_t offset) const {
  std::optional<uint32_t> length = DWord(offset);
  if (!length) return std::nullopt;
  return Bytes(uint64_t{offset} + 4, *length);
}

std::optional<std::string_view> FormCompanion::ShortText(uint32_t offset) const {
  std::optional<std::string_view> first = Bytes(offset, 1);
  if (!first) return std::nullopt;
  const uint32_t length = static_cast<unsigned char>((*first)[0]);
  if (length != 0xFF) return Bytes(uint64_t{offset} + 1, length);
  std::optional<uint32_t> long_length = Word(uint64_t{offset} + 1);
  if (!long_length) return std::nullopt;
  return Bytes(uint64_t{offset} + 3, *long_length);
}

std::optional<std::vector<std::string_view>> FormCompanion::List(uint32_t offset) const {
  std::optional<uint32_t> count = Word(offset);
  if (!count) return std::nullopt;
  std::vector<std::string_view> items;
  if (*count == 0) return items;
  uint64_t at = uint64_t{offset} + 4;  // past the count and the longest item's length
  for (uint32_t i = 0; i < *count; ++i) {
    std::optional<uint32_t> length = Word(at);
    if (!length) return std::nullopt;
    std::optional<std::string_view> item = Bytes(at + 2, *length);
    if (!item) return std::nullopt;
    items.push_back(*item);
    at += 2 + *length;
  }
  return items;
}

std::optional<std::string_view> FormCompanion::Picture(uint32_t offset) const {
  std::optional<uint32_t> total = DWord(offset);
  if (!total) return std::nullopt;
  if (*total == 0) return std::string_view();
  std::optional<std::string_view> magic = Bytes(uint64_t{offset} + 4, 4);
  std::optional<uint32_t> size = DWord(uint64_t{offset} + 8);
  if (!magic || *magic != std::string_view("lt\0\0", 4) || !size || uint64_t{*size} + 8 > *total) {
    return std::nullopt;
  }
  return Bytes(uint64_t{offset} + 12, *size);
}

}  // namespace dovrek

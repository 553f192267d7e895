#pragma once
// The binary companion of a window's source (.frx, .ctx, .pgx, .dox): the values too long or
// too rich for a source line, as records at the offsets the source names. Every reader checks
// the record against the file's end, so a short or damaged file gives nullopt, never a read
// past its bytes. Texts come back as the file holds them (the project's code page).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dovrek {

// The companion's file extension of a window member's, in the same letter case: "frx" for
// "frm", "CTX" for "CTL"; empty for any other member.
std::string CompanionExtension(std::string_view member_extension);

class FormCompanion {
 public:
  FormCompanion() = default;
  explicit FormCompanion(std::string bytes) : bytes_(std::move(bytes)) {}

  // A long text (the "$" form of a reference): a 32-bit length, then the bytes.
  std::optional<std::string_view> LongText(uint32_t offset) const;
  // A text of a built-in control (a many-line Text, say): one byte of length, or 0xFF and a
  // 16-bit length, then the bytes.
  std::optional<std::string_view> ShortText(uint32_t offset) const;
  // The items of a list (List, ItemData): a 16-bit count, the length of the longest item,
  // then each item as a 16-bit length and its bytes. An empty list is the count alone.
  std::optional<std::vector<std::string_view>> List(uint32_t offset) const;
  // The image file a picture holds (a bitmap, icon, cursor, GIF, JPEG or metafile): a 32-bit
  // size, "lt\0\0", the image's 32-bit size, then the image. An empty picture gives "".
  std::optional<std::string_view> Picture(uint32_t offset) const;
  // The bytes of any other record (a control's own saved state): a 32-bit length, then them.
  std::optional<std::string_view> Blob(uint32_t offset) const { return LongText(offset); }

  size_t size() const { return bytes_.size(); }

 private:
  // n bytes at offset, or nullopt when they run past the end.
  std::optional<std::string_view> Bytes(uint64_t offset, uint64_t n) const;
  std::optional<uint32_t> Word(uint64_t offset) const;   // 16-bit, little-endian
  std::optional<uint32_t> DWord(uint64_t offset) const;  // 32-bit, little-endian

  std::string bytes_;
};

}  // namespace dovrek

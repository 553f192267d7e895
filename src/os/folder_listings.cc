#include "os/folder_listings.h"

#include <vector>

#include "codepage/text_codec.h"
#include "base/text_helpers.h"

namespace dovrek {
namespace {

bool IsCp932Lead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Code page 932 bytes with the ASCII letters that stand as characters made small; the second
// byte of a double-byte character, which may be an ASCII letter's byte (ア is 0x83 0x41), stays.
std::string Cp932Small(std::string_view bytes) {
  std::string folded(bytes);
  for (size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (IsCp932Lead(byte)) {
      ++i;
    } else if (byte >= 'A' && byte <= 'Z') {
      folded[i] = static_cast<char>(byte - 'A' + 'a');
    }
  }
  return folded;
}

// Keeps the first name in byte order for each key.
void Keep(std::unordered_map<std::string, std::string>& names, std::string key,
          const std::string& name) {
  auto [at, added] = names.try_emplace(std::move(key), name);
  if (!added && name < at->second) at->second = name;
}

// The code page 932 bytes of a UTF-8 name, when the code page holds every character of it.
std::optional<std::string> Cp932Form(std::string_view utf8) {
  std::string bytes = EncodeCp932(utf8);
  std::string back;
  AppendCp932AsUtf8(bytes, &back);
  if (back != utf8) return std::nullopt;
  return bytes;
}

}  // namespace

FolderListings::Listing FolderListings::List(const std::string& folder) {
  Listing listing;
  std::vector<std::string> names;
  if (!disk_.ListFolder(folder, &names)) return listing;
  for (const std::string& name : names) {
    Keep(listing.by_small, AsciiSmall(name), name);
    if (!IsAscii(name)) Keep(listing.by_cp932, Cp932Small(name), name);
  }
  return listing;
}

std::optional<std::string> FolderListings::Match(const std::string& folder,
                                                 std::string_view component) {
  auto listed = folders_.find(folder);
  if (listed == folders_.end()) listed = folders_.emplace(folder, List(folder)).first;
  const Listing& listing = listed->second;
  if (auto match = listing.by_small.find(AsciiSmall(component)); match != listing.by_small.end()) {
    return match->second;
  }
  if (listing.by_cp932.empty() || IsAscii(component)) return std::nullopt;
  std::optional<std::string> bytes = Cp932Form(component);
  if (!bytes) return std::nullopt;
  auto match = listing.by_cp932.find(Cp932Small(*bytes));
  if (match == listing.by_cp932.end()) return std::nullopt;
  return match->second;
}

}  // namespace dovrek

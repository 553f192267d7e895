#include "platform/folder_listings.h"

#include <vector>

#include "platform/text_helpers.h"

namespace dovrek {

FolderListings::Listing FolderListings::List(const std::string& folder) {
  Listing listing;
  std::vector<std::string> names;
  if (!disk_.ListFolder(folder, &names)) return listing;
  for (std::string& name : names) {
    auto [at, added] = listing.try_emplace(AsciiSmall(name), name);
    if (!added && name < at->second) at->second = std::move(name);
  }
  return listing;
}

std::optional<std::string> FolderListings::Match(const std::string& folder,
                                                 std::string_view component) {
  auto listed = folders_.find(folder);
  if (listed == folders_.end()) listed = folders_.emplace(folder, List(folder)).first;
  auto match = listed->second.find(AsciiSmall(component));
  if (match == listed->second.end()) return std::nullopt;
  return match->second;
}

}  // namespace dovrek

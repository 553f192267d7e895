#pragma once
// The names in folders, each folder listed once, for finding many files in another letter case
// without listing and searching their folder again for every file. A listing is kept for the
// life of the object, so a file added to a folder after it was listed is not seen: make one for
// each run, and a later run sees the folder as it is then.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "os/disk.h"

namespace dovrek {

class FolderListings {
 public:
  // Lists folders on `disk`, which must outlive the listings.
  explicit FolderListings(Disk& disk = RealDisk()) : disk_(disk) {}

  // The disk the folders are listed on.
  Disk& disk() const { return disk_; }

  // The name in the native folder ("" for the root) equal to `component` (UTF-8) but for ASCII
  // letter case, the first such name in byte order; failing that, the same for the code page
  // 932 bytes of `component`, as an old unzip tool leaves Japanese names on disk. nullopt when
  // there is none or the folder cannot be listed. The folder is listed on its first question
  // only.
  std::optional<std::string> Match(const std::string& folder, std::string_view component);

 private:
  // Per folded name, the first name in byte order that gives it.
  using NameMap = std::unordered_map<std::string, std::string>;
  struct Listing {
    NameMap by_small;  // every name, its ASCII letters made small
    NameMap by_cp932;  // names with a non-ASCII byte, folded as code page 932 text
  };
  Listing List(const std::string& folder);

  Disk& disk_;
  std::unordered_map<std::string, Listing> folders_;
};

}  // namespace dovrek

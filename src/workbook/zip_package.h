#pragma once
// The parts of an Office Open XML package (a zip file), held in memory in their stored order.

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "os/buffered_writer.h"

namespace dovrek {

class ZipWriter;

// No part may inflate past this; a larger one is refused as damaged or hostile.
inline constexpr size_t kMaxPartBytes = 64u << 20;
// Nor may all parts together inflate past this.
inline constexpr size_t kMaxPackageBytes = 256u << 20;
// Nor may a package hold more entries than this: a workbook template holds a few dozen, and a
// zip written without its 64-bit extension can hold no more than 65,535.
inline constexpr size_t kMaxParts = 10000;

class ZipPackage {
 public:
  // Reads every part of the zip file at the native path. Throws WorkbookError naming the file
  // when it cannot be read, is a legacy binary (OLE2) workbook, is not a zip, holds more than
  // kMaxParts entries, or holds a part over kMaxPartBytes (or parts over kMaxPackageBytes in
  // all). Entries whose names climb out of the package ("..") or start at the root are left
  // out; their names are added to *dropped when it is given.
  static ZipPackage Read(const std::string& native_path,
                         std::vector<std::string>* dropped = nullptr);

  // The part's bytes, or nullptr when there is no part of that name (names compare without
  // regard to ASCII letter case, as package part names do).
  const std::string* Find(const std::string& name) const;
  // Replaces the part's bytes, or adds the part at the end.
  void Put(const std::string& name, std::string bytes);
  // Removes the part if there is one.
  void Remove(const std::string& name);

  // Writes a part's bytes itself and answers true, or answers false to have the stored bytes
  // written.
  using PartWriter = std::function<bool(const std::string& name, ZipWriter& zip)>;

  // Writes the package as a zip to `out`: "[Content_Types].xml" first, the other parts in their
  // order, deflated; `write_part` (may be empty) is asked for each part first. Throws
  // WorkbookError when the zip cannot be built; a failed write is left in `out`.
  void WriteTo(BufferedWriter& out, const PartWriter& write_part) const;
  // The zip as bytes, every part as stored.
  std::string ToBytes() const;

  const std::vector<std::pair<std::string, std::string>>& parts() const { return parts_; }

 private:
  std::vector<std::pair<std::string, std::string>> parts_;
};

}  // namespace dovrek

#pragma once
// The parts of an Office Open XML package (a zip file), held in memory in their stored order.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace dovrek {

// No part may inflate past this; a larger one is refused as damaged or hostile.
inline constexpr size_t kMaxPartBytes = 64u << 20;
// Nor may all parts together inflate past this.
inline constexpr size_t kMaxPackageBytes = 256u << 20;

class ZipPackage {
 public:
  // Reads every part of the zip file at the native path. Throws WorkbookError naming the file
  // when it cannot be read, is a legacy binary (OLE2) workbook, is not a zip, or holds a part
  // over kMaxPartBytes (or
  // parts over kMaxPackageBytes in all).
  static ZipPackage Read(const std::string& native_path);

  // The part's bytes, or nullptr when there is no part of that name (names compare without
  // regard to ASCII letter case, as package part names do).
  const std::string* Find(const std::string& name) const;
  // Replaces the part's bytes, or adds the part at the end.
  void Put(const std::string& name, std::string bytes);
  // Removes the part if there is one.
  void Remove(const std::string& name);

  // The package as zip bytes: "[Content_Types].xml" first, the other parts in their order,
  // deflated. Throws WorkbookError when the zip cannot be built.
  std::string ToBytes() const;

  const std::vector<std::pair<std::string, std::string>>& parts() const { return parts_; }

 private:
  std::vector<std::pair<std::string, std::string>> parts_;
};

}  // namespace dovrek

#pragma once
// Test helpers around the built workbook template: its path, variants of it with one part
// changed, and reading a produced workbook back.

#include <filesystem>
#include <string>

#include "report/workbook/zip_package.h"
#include "test_support.h"

namespace dovrek::testing {

// The template the build zips beside the executable.
inline std::string BuiltTemplatePath() {
  return (std::filesystem::path(DOVREK_BINARY).parent_path() / "Dovrek.xlt").string();
}

// Writes a copy of the built template with `from` replaced by `to` in the named part, and
// answers its native path.
inline std::string TemplateVariant(const TempDir& dir, const std::string& file,
                                   const std::string& part, const std::string& from,
                                   const std::string& to) {
  ZipPackage package = ZipPackage::Read(BuiltTemplatePath());
  std::string bytes = *package.Find(part);
  size_t at = bytes.find(from);
  if (at != std::string::npos) bytes.replace(at, from.size(), to);
  package.Put(part, bytes);
  return dir.Write(file, package.ToBytes());
}

}  // namespace dovrek::testing

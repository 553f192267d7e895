#pragma once
// Test helpers around the built workbook template: its path, variants of it with one part
// changed, and reading a produced workbook back.

#include <filesystem>
#include <string>
#include <vector>

#include "workbook/zip_package.h"
#include "test_support.h"

namespace dovrek::testing {

// The template the build zips beside the executable.
inline std::string BuiltTemplatePath() {
  return (std::filesystem::path(DOVREK_BINARY).parent_path() / "Dovrek.xlt").string();
}

// One text replacement in one part of the template.
struct TemplateEdit {
  std::string part;
  std::string from;
  std::string to;
};

// Writes a copy of the built template with each edit's `from` (first occurrence) replaced by its
// `to`, and answers its native path.
inline std::string TemplateVariant(const TempDir& dir, const std::string& file,
                                   const std::vector<TemplateEdit>& edits) {
  ZipPackage package = ZipPackage::Read(BuiltTemplatePath());
  for (const TemplateEdit& edit : edits) {
    std::string bytes = *package.Find(edit.part);
    size_t at = bytes.find(edit.from);
    if (at != std::string::npos) bytes.replace(at, edit.from.size(), edit.to);
    package.Put(edit.part, bytes);
  }
  return dir.Write(file, package.ToBytes());
}

inline std::string TemplateVariant(const TempDir& dir, const std::string& file,
                                   const std::string& part, const std::string& from,
                                   const std::string& to) {
  return TemplateVariant(dir, file, {{part, from, to}});
}

}  // namespace dovrek::testing

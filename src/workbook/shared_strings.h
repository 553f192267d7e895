#pragma once
// The shared string table of a workbook (xl/sharedStrings.xml), read when a cell that refers to
// it is read. New cell texts are written inline, so the table is never changed.

#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace dovrek {

class SharedStrings {
 public:
  // Reads the table's texts (rich-text runs joined, phonetic guides left out, "_xHHHH_" decoded).
  explicit SharedStrings(const pugi::xml_document& table);

  // The text at `index`. Throws WorkbookError when there is no such entry.
  const std::string& At(uint32_t index) const;

 private:
  std::vector<std::string> texts_;
};

// The visible text of a string item (<si> or <is>): its <t>, or its runs' <t> joined.
std::string StringItemText(pugi::xml_node item);

}  // namespace dovrek

#pragma once
// The cell formats of a workbook (xl/styles.xml). A cell that changes its fill or font colour
// gets a copy of its format that differs only there, so it keeps borders, alignment, number
// format and font face and size. Copies are shared: cells that start from the same format and
// ask for the same colour end up with one new format.

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include <pugixml.hpp>

namespace dovrek {

// A colour as the automation interface passes it (red + 256 * green + 65536 * blue) written
// as the ARGB hex text of a styles part: 12500670 -> "FFBEBEBE".
std::string ArgbFromColorValue(int32_t color);

class StyleTable {
 public:
  // Works on the styles document in place (it must outlive the table). Throws WorkbookError
  // when the document has no cell formats.
  explicit StyleTable(pugi::xml_document* styles);

  // The number of cell formats.
  uint32_t size() const;
  // The index of a format like `format` with a solid fill of `argb`.
  uint32_t WithFillColor(uint32_t format, const std::string& argb);
  // The index of a format like `format` whose font is a copy of its font with colour `argb`.
  uint32_t WithFontColor(uint32_t format, const std::string& argb);
  // The fill and font colours (ARGB text, empty when none is set as rgb) of a format.
  std::string FillColor(uint32_t format) const;
  std::string FontColor(uint32_t format) const;
  // The font size of a format, and of the book's default font (the first), in points; 11 when
  // the font sets none.
  double FontSize(uint32_t format) const;
  double DefaultFontSize() const;

 private:
  enum class Change { kFill, kFont };
  pugi::xml_node Format(uint32_t format) const;
  uint32_t AddFormat(pugi::xml_node original, const char* id_attribute, uint32_t id,
                     const char* apply_attribute);
  pugi::xml_node Section(const char* name);

  pugi::xml_document* styles_;
  std::map<std::tuple<uint32_t, Change, std::string>, uint32_t> copies_;
};

}  // namespace dovrek

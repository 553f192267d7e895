#include "workbook/style_table.h"

#include <cstdio>
#include <iterator>

#include "workbook/workbook_messages.h"
#include "workbook/workbook_error.h"

namespace dovrek {
namespace {

uint32_t CountChildren(pugi::xml_node parent, const char* name) {
  return static_cast<uint32_t>(
      std::distance(parent.children(name).begin(), parent.children(name).end()));
}

pugi::xml_node NthChild(pugi::xml_node parent, const char* name, uint32_t index) {
  for (pugi::xml_node child : parent.children(name)) {
    if (index-- == 0) return child;
  }
  return {};
}

// Appends `child` to a counted list such as <fills count="2"> and answers its index.
uint32_t AppendCounted(pugi::xml_node list, pugi::xml_node child) {
  list.append_copy(child);
  uint32_t count = CountChildren(list, child.name());
  if (!list.attribute("count")) list.append_attribute("count");
  list.attribute("count").set_value(count);
  return count - 1;
}

// Font children stand in a fixed order; <color> goes after <sz> and before the face.
void SetFontColor(pugi::xml_node font, const std::string& argb) {
  pugi::xml_node color = font.child("color");
  if (!color) {
    pugi::xml_node before;
    for (const char* name : {"name", "family", "charset", "scheme"}) {
      if ((before = font.child(name))) break;
    }
    color = before ? font.insert_child_before("color", before) : font.append_child("color");
  }
  while (color.first_attribute()) color.remove_attribute(color.first_attribute());
  color.append_attribute("rgb").set_value(argb.c_str());
}

constexpr double kDefaultFontSize = 11;

}  // namespace

std::string ArgbFromColorValue(int32_t color) {
  uint32_t value = static_cast<uint32_t>(color);
  char text[9];
  std::snprintf(text, sizeof text, "FF%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF,
                (value >> 16) & 0xFF);
  return text;
}

StyleTable::StyleTable(pugi::xml_document* styles) : styles_(styles) {
  if (!styles_->child("styleSheet").child("cellXfs").child("xf")) {
    throw WorkbookError(kNoCellFormats);
  }
}

uint32_t StyleTable::size() const {
  return CountChildren(styles_->child("styleSheet").child("cellXfs"), "xf");
}

pugi::xml_node StyleTable::Format(uint32_t format) const {
  pugi::xml_node xf = NthChild(styles_->child("styleSheet").child("cellXfs"), "xf", format);
  if (!xf) throw WorkbookError(MissingCellFormat(format));
  return xf;
}

pugi::xml_node StyleTable::Section(const char* name) {
  pugi::xml_node sheet = styles_->child("styleSheet");
  pugi::xml_node section = sheet.child(name);
  if (!section) throw WorkbookError(MissingStyleSection(name));
  return section;
}

uint32_t StyleTable::AddFormat(pugi::xml_node original, const char* id_attribute, uint32_t id,
                               const char* apply_attribute) {
  pugi::xml_document scratch;
  pugi::xml_node copy = scratch.append_copy(original);
  if (!copy.attribute(id_attribute)) copy.append_attribute(id_attribute);
  copy.attribute(id_attribute).set_value(id);
  if (!copy.attribute(apply_attribute)) copy.append_attribute(apply_attribute);
  copy.attribute(apply_attribute).set_value("1");
  return AppendCounted(Section("cellXfs"), copy);
}

uint32_t StyleTable::WithFillColor(uint32_t format, const std::string& argb) {
  auto key = std::make_tuple(format, Change::kFill, argb);
  if (auto found = copies_.find(key); found != copies_.end()) return found->second;
  pugi::xml_node original = Format(format);
  pugi::xml_document scratch;
  pugi::xml_node pattern = scratch.append_child("fill").append_child("patternFill");
  pattern.append_attribute("patternType").set_value("solid");
  pattern.append_child("fgColor").append_attribute("rgb").set_value(argb.c_str());
  pattern.append_child("bgColor").append_attribute("indexed").set_value(64);
  uint32_t fill = AppendCounted(Section("fills"), scratch.first_child());
  uint32_t copy = AddFormat(original, "fillId", fill, "applyFill");
  copies_[key] = copy;
  return copy;
}

uint32_t StyleTable::WithFontColor(uint32_t format, const std::string& argb) {
  auto key = std::make_tuple(format, Change::kFont, argb);
  if (auto found = copies_.find(key); found != copies_.end()) return found->second;
  pugi::xml_node original = Format(format);
  pugi::xml_node fonts = Section("fonts");
  pugi::xml_node font = NthChild(fonts, "font", original.attribute("fontId").as_uint());
  if (!font) throw WorkbookError(MissingFormatFont(format));
  pugi::xml_document scratch;
  pugi::xml_node new_font = scratch.append_copy(font);
  SetFontColor(new_font, argb);
  uint32_t font_id = AppendCounted(fonts, new_font);
  uint32_t copy = AddFormat(original, "fontId", font_id, "applyFont");
  copies_[key] = copy;
  return copy;
}

std::string StyleTable::FillColor(uint32_t format) const {
  pugi::xml_node fills = styles_->child("styleSheet").child("fills");
  pugi::xml_node fill = NthChild(fills, "fill", Format(format).attribute("fillId").as_uint());
  return fill.child("patternFill").child("fgColor").attribute("rgb").value();
}

std::string StyleTable::FontColor(uint32_t format) const {
  pugi::xml_node fonts = styles_->child("styleSheet").child("fonts");
  pugi::xml_node font = NthChild(fonts, "font", Format(format).attribute("fontId").as_uint());
  return font.child("color").attribute("rgb").value();
}

double StyleTable::FontSize(uint32_t format) const {
  pugi::xml_node fonts = styles_->child("styleSheet").child("fonts");
  pugi::xml_node font = NthChild(fonts, "font", Format(format).attribute("fontId").as_uint());
  return font.child("sz").attribute("val").as_double(kDefaultFontSize);
}

double StyleTable::DefaultFontSize() const {
  pugi::xml_node font = styles_->child("styleSheet").child("fonts").child("font");
  return font.child("sz").attribute("val").as_double(kDefaultFontSize);
}

}  // namespace dovrek

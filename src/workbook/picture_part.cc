#include "workbook/picture_part.h"

#include <pugixml.hpp>
#include <sstream>

namespace dovrek {
namespace {

constexpr int64_t kUnitsPerPixel = 9525;

void AddText(pugi::xml_node parent, const char* name, int64_t value) {
  parent.append_child(name).text().set(std::to_string(value).c_str());
}

void AddSize(pugi::xml_node node, int64_t width, int64_t height) {
  node.append_attribute("cx").set_value(std::to_string(width * kUnitsPerPixel).c_str());
  node.append_attribute("cy").set_value(std::to_string(height * kUnitsPerPixel).c_str());
}

void AddPicture(pugi::xml_node anchor, int32_t width, int32_t height, const std::string& name) {
  pugi::xml_node pic = anchor.append_child("xdr:pic");
  pugi::xml_node names = pic.append_child("xdr:nvPicPr");
  pugi::xml_node shape = names.append_child("xdr:cNvPr");
  shape.append_attribute("id").set_value(2);
  shape.append_attribute("name").set_value(name.c_str());
  shape.append_attribute("descr").set_value(name.c_str());
  names.append_child("xdr:cNvPicPr").append_child("a:picLocks").append_attribute(
      "noChangeAspect").set_value(1);
  pugi::xml_node fill = pic.append_child("xdr:blipFill");
  fill.append_child("a:blip").append_attribute("r:embed").set_value(kPictureIdSlot);
  fill.append_child("a:stretch").append_child("a:fillRect");
  pugi::xml_node properties = pic.append_child("xdr:spPr");
  pugi::xml_node place = properties.append_child("a:xfrm");
  pugi::xml_node offset = place.append_child("a:off");
  offset.append_attribute("x").set_value(0);
  offset.append_attribute("y").set_value(0);
  AddSize(place.append_child("a:ext"), width, height);
  pugi::xml_node geometry = properties.append_child("a:prstGeom");
  geometry.append_attribute("prst").set_value("rect");
  geometry.append_child("a:avLst");
}

}  // namespace

std::string PictureDrawingXml(CellReference at, int32_t width, int32_t height,
                              std::string_view name) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version").set_value("1.0");
  declaration.append_attribute("encoding").set_value("UTF-8");
  declaration.append_attribute("standalone").set_value("yes");
  pugi::xml_node root = document.append_child("xdr:wsDr");
  root.append_attribute("xmlns:xdr").set_value(
      "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing");
  root.append_attribute("xmlns:a").set_value("http://schemas.openxmlformats.org/drawingml/2006/main");
  root.append_attribute("xmlns:r").set_value(
      "http://schemas.openxmlformats.org/officeDocument/2006/relationships");
  pugi::xml_node anchor = root.append_child("xdr:oneCellAnchor");
  pugi::xml_node from = anchor.append_child("xdr:from");
  AddText(from, "xdr:col", at.column - 1);
  AddText(from, "xdr:colOff", 0);
  AddText(from, "xdr:row", at.row - 1);
  AddText(from, "xdr:rowOff", 0);
  AddSize(anchor.append_child("xdr:ext"), width, height);
  AddPicture(anchor, width, height, std::string(name));
  anchor.append_child("xdr:clientData");
  std::ostringstream text;
  document.save(text, "", pugi::format_raw, pugi::encoding_utf8);
  return text.str();
}

}  // namespace dovrek

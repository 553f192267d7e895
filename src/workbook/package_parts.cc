#include "workbook/package_parts.h"

#include <vector>

#include "base/text_helpers.h"
#include "workbook/zip_package.h"

namespace dovrek {

std::string RelationshipsPart(const std::string& part) {
  size_t slash = part.rfind('/');
  std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  return folder + "_rels/" + part.substr(slash == std::string::npos ? 0 : slash + 1) + ".rels";
}

std::string ResolveTarget(const std::string& source_part, std::string target) {
  std::string path;
  if (!target.empty() && target[0] == '/') {
    path = target.substr(1);
  } else {
    size_t slash = source_part.rfind('/');
    path = (slash == std::string::npos ? "" : source_part.substr(0, slash + 1)) + target;
  }
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string segment = path.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string joined;
  for (const std::string& segment : segments) joined += (joined.empty() ? "" : "/") + segment;
  return joined;
}

std::string RelativeTarget(const std::string& source_part, const std::string& part) {
  size_t common = 0;  // the length of the folders both share, up to and with their last '/'
  for (size_t i = 0; i < source_part.size() && i < part.size() && source_part[i] == part[i]; ++i) {
    if (part[i] == '/') common = i + 1;
  }
  std::string target;
  for (size_t i = common; i < source_part.size(); ++i) {
    if (source_part[i] == '/') target += "../";
  }
  return target + part.substr(common);
}

std::string UnusedPartName(const ZipPackage& package, const std::string& stem,
                           const std::string& extension, size_t* next) {
  for (;; ++*next) {
    std::string name = stem + std::to_string(*next) + extension;
    if (!package.Find(name)) {
      ++*next;
      return name;
    }
  }
}

std::string UnusedRelationshipId(const pugi::xml_document& relationships) {
  for (size_t n = 1;; ++n) {
    std::string id = "rId" + std::to_string(n);
    if (!relationships.child("Relationships")
             .find_child_by_attribute("Relationship", "Id", id.c_str())) {
      return id;
    }
  }
}

std::string AddRelationship(pugi::xml_document& relationships, std::string_view type,
                            const std::string& target) {
  pugi::xml_node root = relationships.child("Relationships");
  if (!root) {
    root = relationships.append_child("Relationships");
    root.append_attribute("xmlns").set_value(
        "http://schemas.openxmlformats.org/package/2006/relationships");
  }
  std::string id = UnusedRelationshipId(relationships);
  pugi::xml_node rel = root.append_child("Relationship");
  rel.append_attribute("Id").set_value(id.c_str());
  rel.append_attribute("Type").set_value(std::string(type).c_str());
  rel.append_attribute("Target").set_value(target.c_str());
  return id;
}

void AddContentTypeOverride(pugi::xml_document& content_types, const std::string& part,
                            const char* type) {
  pugi::xml_node types = content_types.child("Types");
  std::string part_name = "/" + part;
  for (pugi::xml_node node : types.children("Override")) {
    if (EqualsNoCase(node.attribute("PartName").value(), part_name)) return;
  }
  pugi::xml_node node = types.append_child("Override");
  node.append_attribute("PartName").set_value(part_name.c_str());
  node.append_attribute("ContentType").set_value(type);
}

void AddContentTypeDefault(pugi::xml_document& content_types, const char* extension,
                           const char* type) {
  pugi::xml_node types = content_types.child("Types");
  for (pugi::xml_node node : types.children("Default")) {
    if (EqualsNoCase(node.attribute("Extension").value(), extension)) return;
  }
  // Defaults stand before the overrides.
  pugi::xml_node first_override = types.child("Override");
  pugi::xml_node node = first_override ? types.insert_child_before("Default", first_override)
                                       : types.append_child("Default");
  node.append_attribute("Extension").set_value(extension);
  node.append_attribute("ContentType").set_value(type);
}

}  // namespace dovrek

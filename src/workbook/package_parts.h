#pragma once
// Small helpers for the parts of an Office Open XML package: their relationship parts, the
// targets relationships name, fresh part names and relationship ids, and content types.

#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace dovrek {

class ZipPackage;

// The relationships part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string RelationshipsPart(const std::string& part);

// A relationship target resolved against the folder of its source part, as a part name without
// the leading "/".
std::string ResolveTarget(const std::string& source_part, std::string target);

// The target a relationship of `source_part` names `part` by: a path relative to the source's
// folder ("../media/image1.png").
std::string RelativeTarget(const std::string& source_part, const std::string& part);

// The first name "<stem><n><extension>" (n = *next, *next + 1, ...) that no part of the
// package has; *next becomes the number after it, so that naming many parts stays linear.
std::string UnusedPartName(const ZipPackage& package, const std::string& stem,
                           const std::string& extension, size_t* next);

// An id "rId<n>" that no relationship of the part holds yet.
std::string UnusedRelationshipId(const pugi::xml_document& relationships);

// Adds a relationship of a type ("http://.../relationships/image") to a relationships document
// (made when empty) and answers its id.
std::string AddRelationship(pugi::xml_document& relationships, std::string_view type,
                            const std::string& target);

// Declares a part's content type, once.
void AddContentTypeOverride(pugi::xml_document& content_types, const std::string& part,
                            const char* type);
// Declares the content type of every part with an extension, once.
void AddContentTypeDefault(pugi::xml_document& content_types, const char* extension,
                           const char* type);

// The relationship types the engine adds, by their full names.
inline constexpr char kWorksheetRelationship[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr char kDrawingRelationship[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";
inline constexpr char kImageRelationship[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
inline constexpr char kRelationshipsNamespace[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

}  // namespace dovrek

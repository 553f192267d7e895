#include "model/specification_model.h"

#include <ostream>

#include "base/text_helpers.h"

namespace dovrek {

void SpecificationModel::ClearProject() {
  Project = ProjectInfo{};
  for (std::vector<MemberFile>& files : Members) files.clear();
  Screens.clear();
  ScreensDescribed = false;
}

std::optional<SourceEncoding> SourceEncodingNamed(std::string_view name) {
  const std::pair<std::string_view, SourceEncoding> names[] = {{"cp932", SourceEncoding::kCp932},
                                                               {"utf-8", SourceEncoding::kUtf8},
                                                               {"cp1252", SourceEncoding::kCp1252},
                                                               {"auto", SourceEncoding::kAuto}};
  for (const auto& [text, encoding] : names) {
    if (EqualsNoCase(name, text)) return encoding;
  }
  return std::nullopt;
}

std::ostream& operator<<(std::ostream& out, const ProjectInfo& p) {
  return out << "{Title=" << p.Title << " Name=" << p.Name << " ExeName32=" << p.ExeName32
             << " Command32=" << p.Command32 << " HelpFile=" << p.HelpFile
             << " VersionFileDescription=" << p.VersionFileDescription
             << " VersionCompanyName=" << p.VersionCompanyName << " Version=" << p.MajorVer << "."
             << p.MinorVer << "." << p.RevisionVer << "}";
}

std::ostream& operator<<(std::ostream& out, const MemberFile& m) {
  return out << "{" << m.Folder << " | " << m.FileName << "}";
}

std::ostream& operator<<(std::ostream& out, const ProcedureEntry& e) {
  out << "{" << e.Scope << (e.Static ? " Static " : " ") << e.Kind << (e.Kind.empty() ? "" : " ")
      << e.Name << "(" << e.Parameters << ") As " << e.ReturnType << " in " << e.FileName;
  if (!e.Lib.empty() || !e.Alias.empty()) out << " Lib " << e.Lib << " Alias " << e.Alias;
  return out << " comment=[" << e.Comment << "]}";
}

}  // namespace dovrek

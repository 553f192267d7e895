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

std::optional<SourceEncodingChoice> SourceEncodingChoiceNamed(std::string_view name) {
  if (EqualsNoCase(name, "auto")) return SourceEncodingChoice{std::nullopt, true};
  if (std::optional<Encoding> named = EncodingNamed(name)) return SourceEncodingChoice{named};
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

#include "model/specification_model.h"

#include <ostream>

namespace dovrek {

void SpecificationModel::ClearProject() {
  Project = ProjectInfo{};
  FormFiles.clear();
  ModuleFiles.clear();
  ClassFiles.clear();
  ControlFiles.clear();
  PageFiles.clear();
  DocumentFiles.clear();
  DesignerFiles.clear();
  Encoding.clear();
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

#include "run/json_dump.h"

#include <nlohmann/json.hpp>

namespace dovrek {
namespace {

using Json = nlohmann::ordered_json;

Json MembersToJson(const std::vector<MemberFile>& members) {
  Json list = Json::array();
  for (const MemberFile& m : members) list.push_back({{"FileName", m.FileName}, {"Folder", m.Folder}});
  return list;
}

Json ProjectToJson(const ProjectInfo& p) {
  return {{"Title", p.Title},
          {"Name", p.Name},
          {"ExeName32", p.ExeName32},
          {"Command32", p.Command32},
          {"HelpFile", p.HelpFile},
          {"VersionFileDescription", p.VersionFileDescription},
          {"VersionCompanyName", p.VersionCompanyName},
          {"MajorVer", p.MajorVer},
          {"MinorVer", p.MinorVer},
          {"RevisionVer", p.RevisionVer}};
}

Json ProcedureToJson(const ProcedureEntry& e) {
  return {{"Name", e.Name},           {"Scope", e.Scope},           {"FileName", e.FileName},
          {"Comment", e.Comment},     {"Parameters", e.Parameters}, {"ReturnType", e.ReturnType}};
}

}  // namespace

std::string ModelToJson(const SpecificationModel& model) {
  Json procedures = Json::array();
  for (const ProcedureEntry& e : model.Procedures) procedures.push_back(ProcedureToJson(e));
  Json root = {{"project", ProjectToJson(model.Project)},
               {"forms", MembersToJson(model.FormFiles)},
               {"modules", MembersToJson(model.ModuleFiles)},
               {"classes", MembersToJson(model.ClassFiles)},
               {"procedures", std::move(procedures)}};
  return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace dovrek

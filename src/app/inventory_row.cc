#include "app/inventory_row.h"

#include <algorithm>
#include <map>

#include "app/project_run.h"
#include "os/folder_listings.h"
#include "run/generation_driver.h"
#include "source/complete_head.h"
#include "source/screen_reader.h"

namespace dovrek {
namespace {

std::vector<size_t> KindCounts(const std::vector<ProcedureEntry>& procedures) {
  std::vector<size_t> counts;
  for (EntryKind kind : kEntryKinds) {
    std::string_view name = KindName(kind);
    counts.push_back(std::count_if(procedures.begin(), procedures.end(),
                                   [name](const ProcedureEntry& e) { return e.Kind == name; }));
  }
  return counts;
}

// The code of every member that is there; a member that cannot be read adds nothing.
SourceMeasure MeasureMembers(const SourcePath& project, const SpecificationModel& model,
                             FolderListings& listings) {
  SourceMeasure measure;
  for (const std::vector<MemberFile>& list : model.Members) {
    for (const MemberFile& member : list) {
      SourcePath path = SourcePath::Locate(MemberPath(project.windows(), member), listings);
      if (path.IsFile()) (void)MeasureSource(path, model.SourceEncoding, &measure);
    }
  }
  return measure;
}

// The screens the run described, or, when it left them out, those read now.
std::vector<Screen> ScreensOf(const SourcePath& project, const SpecificationModel& model,
                              FolderListings& listings) {
  if (model.ScreensDescribed) return model.Screens;
  std::vector<Screen> screens;
  for (const MemberKindRow& row : kMemberKinds) {
    if (!row.has_screen) continue;
    for (const MemberFile& member : model.Files(row.kind)) {
      SourcePath path = SourcePath::Locate(MemberPath(project.windows(), member), listings);
      Screen screen;
      if (path.IsFile() && ReadScreen(path, listings, model.SourceEncoding, {}, &screen).ok() &&
          !screen.Kind.empty()) {
        screens.push_back(std::move(screen));
      }
    }
  }
  return screens;
}

void CountScreens(const std::vector<Screen>& screens, InventoryRow* row) {
  std::map<std::string, size_t> classes;
  row->Screens = screens.size();
  for (const Screen& screen : screens) {
    row->Controls += screen.Controls.size();
    for (const ScreenControl& control : screen.Controls) ++classes[control.Class];
  }
  row->ControlClasses.assign(classes.begin(), classes.end());
}

}  // namespace

InventoryRow InventoryRowOf(const SourcePath& project, const SpecificationModel& model,
                            bool complete) {
  InventoryRow row;
  row.Path = project.display();
  row.Read = true;
  row.Complete = complete;
  row.Project = model.Project;
  (void)ReadProjectReferences(project, model.SourceEncoding, &row.References);
  for (const std::vector<MemberFile>& list : model.Members) row.Members.push_back(list.size());
  row.Procedures = model.Procedures.size();
  if (complete) row.ProceduresByKind = KindCounts(model.Procedures);
  FolderListings listings(project.disk());
  row.Measure = MeasureMembers(project, model, listings);
  CountScreens(ScreensOf(project, model, listings), &row);
  return row;
}

}  // namespace dovrek

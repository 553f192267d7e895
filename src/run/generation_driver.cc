#include "run/generation_driver.h"

#include <vector>

#include "model/text_helpers.h"
#include "platform/native_path.h"

namespace dovrek {
namespace {

struct MemberGroup {
  const std::vector<MemberFile>& files;
  const char* message;
};

// Reads every member of every group; closes the progress window when a member fails.
bool ReadMembers(const std::string& project_path, RunContext& run) {
  const MemberGroup groups[] = {{run.model.FormFiles, kReadingForms},
                                {run.model.ModuleFiles, kReadingModules},
                                {run.model.ClassFiles, kReadingClasses}};
  for (const MemberGroup& group : groups) {
    if (group.files.empty()) continue;
    run.progress.InitProgress(static_cast<int32_t>(group.files.size()), group.message);
    const int32_t count = static_cast<int32_t>(group.files.size());
    for (int32_t i = 0; i < count; ++i) {
      if (!run.stages.ReadModule(MemberPath(project_path, group.files[static_cast<size_t>(i)]))) {
        run.progress.Unload();
        return false;
      }
      run.progress.Progress(i);
    }
  }
  return true;
}

}  // namespace

std::string MemberPath(const std::string& project_path, const MemberFile& member) {
  if (IsAbsoluteWindowsPath(member.Folder)) return member.Folder + "\\" + member.FileName;
  return FolderPart(project_path) + "\\" + member.Folder + "\\" + member.FileName;
}

bool ProjectFileExists(const std::string& project_path) {
  return !project_path.empty() && IsExistingFile(ToNativePath(project_path));
}

bool CreateSpecification(const std::string& project_path, RunContext& run) {
  if (!ProjectFileExists(project_path)) {
    run.msg.ShowMessage(kProjectNotFound);
    return false;
  }
  run.model.Procedures.clear();
  if (!run.stages.ReadProject(project_path)) return false;
  run.progress.Load();
  if (!ReadMembers(project_path, run)) return false;
  run.progress.Unload();
  if (Options::On(run.options.Xls) && !run.stages.WriteWorkbookReport()) return false;
  if (Options::On(run.options.Txt) && !run.stages.WriteTextReport()) return false;
  return true;
}

}  // namespace dovrek

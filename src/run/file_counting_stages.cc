#include "run/file_counting_stages.h"

namespace dovrek {

bool FileCountingStages::ReadProject(const SourcePath& project_path) {
  if (!stages_.ReadProject(project_path)) return false;
  read_ = 0;
  total_ = 0;
  for (const std::vector<MemberFile>& files : model_.Members) {
    total_ += static_cast<int32_t>(files.size());
  }
  progress_.SetFilesRead(read_, total_);
  return true;
}

bool FileCountingStages::ReadModule(const SourcePath& path) {
  if (!stages_.ReadModule(path)) return false;
  progress_.SetFilesRead(++read_, total_);
  return true;
}

}  // namespace dovrek

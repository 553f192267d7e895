#include "run/file_counting_stages.h"

namespace dovrek {

Status FileCountingStages::ReadProject(const SourcePath& project_path) {
  if (Status read = stages_.ReadProject(project_path); !read.ok()) return read;
  read_ = 0;
  total_ = 0;
  for (const std::vector<MemberFile>& files : model_.Members) {
    total_ += static_cast<int32_t>(files.size());
  }
  progress_.SetFilesRead(read_, total_);
  return Status::OK();
}

Status FileCountingStages::ReadModule(const SourcePath& path) {
  if (Status read = stages_.ReadModule(path); !read.ok()) return read;
  progress_.SetFilesRead(++read_, total_);
  return Status::OK();
}

}  // namespace dovrek

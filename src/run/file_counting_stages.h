#pragma once
// The stages of a run that count the member files read, for the count beside the terminal's
// progress bar.

#include "model/specification_model.h"
#include "console/console_progress_window.h"
#include "run/generation_driver.h"

namespace dovrek {

// Passes every call on to `stages`. After the project is read the count is 0 of all its member
// files; every member read successfully adds one.
class FileCountingStages : public RunStages {
 public:
  FileCountingStages(RunStages& stages, const SpecificationModel& model,
                     ConsoleProgressWindow& progress)
      : stages_(stages), model_(model), progress_(progress) {}

  Status ReadProject(const SourcePath& project_path) override;
  Status ReadModule(const SourcePath& path) override;
  void ReadAhead(const std::vector<SourcePath>& paths) override { stages_.ReadAhead(paths); }

 private:
  RunStages& stages_;
  const SpecificationModel& model_;
  ConsoleProgressWindow& progress_;
  int32_t read_ = 0;
  int32_t total_ = 0;
};

}  // namespace dovrek

#include "run/run_stages.h"

#include "source/module_scanner.h"
#include "source/project_reader.h"

namespace dovrek {

Status ProductionStages::ReadProject(const SourcePath& project_path) {
  Status read = dovrek::ReadProject(project_path, options_, &model_);
  refused_project_ = read.IsWrongKind();
  return read;
}

void ProductionStages::ReadAhead(const std::vector<SourcePath>& paths) {
  ahead_ = std::make_unique<ParallelReading>(paths, options_, model_.SourceEncoding);
}

// A file asked for out of the announced order is read here, after the threads have ended.
Status ProductionStages::ReadModule(const SourcePath& path) {
  if (ahead_ && ahead_->IsNext(path)) return ahead_->JoinNext(&model_);
  ahead_.reset();
  return dovrek::ReadModule(path, options_, &model_);
}

bool RunSpecification(const SourcePath& project_path, SpecificationModel& model, Options options,
                      MessageBox& msg, ProgressWindow& progress, const ReportWriters& writers) {
  ProductionStages stages(model, options);
  RunContext run{model, options, msg, progress, stages, writers};
  return CreateSpecification(project_path, run);
}

}  // namespace dovrek

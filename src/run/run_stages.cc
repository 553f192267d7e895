#include "run/run_stages.h"

#include "run/stage_guard.h"
#include "source/module_scanner.h"
#include "source/project_reader.h"

namespace dovrek {
namespace {

// Shows a reader's failure as an error, a file of the wrong kind as the user's mistake (a
// caution); answers whether it succeeded.
bool Shown(MessageBox& msg, const Status& status) {
  if (status.IsWrongKind()) {
    msg.ShowMessage(status.message());
  } else if (!status.ok()) {
    msg.ShowError(status.message());
  }
  return status.ok();
}

}  // namespace

bool ProductionStages::ReadProject(const SourcePath& project_path) {
  return GuardedStage(msg_, project_path.display(), [&] {
    Status read = dovrek::ReadProject(project_path, options_, &model_);
    refused_project_ = read.IsWrongKind();
    return Shown(msg_, read);
  });
}

void ProductionStages::ReadAhead(const std::vector<SourcePath>& paths) {
  ahead_ = std::make_unique<ParallelReading>(paths, options_, model_.Encoding);
}

// A file asked for out of the announced order is read here, after the threads have ended.
bool ProductionStages::ReadModule(const SourcePath& path) {
  return GuardedStage(msg_, path.display(), [&] {
    if (ahead_ && ahead_->IsNext(path)) return Shown(msg_, ahead_->JoinNext(&model_));
    ahead_.reset();
    return Shown(msg_, dovrek::ReadModule(path, options_, &model_));
  });
}

bool RunSpecification(const SourcePath& project_path, SpecificationModel& model, Options options,
                      MessageBox& msg, ProgressWindow& progress, const ReportWriters& writers) {
  ProductionStages stages(model, options, msg);
  RunContext run{model, options, msg, progress, stages, writers};
  return CreateSpecification(project_path, run);
}

}  // namespace dovrek

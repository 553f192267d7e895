#pragma once
// The real stages of a run.

#include <memory>
#include <vector>

#include "frontend/message_box.h"
#include "frontend/progress_window.h"
#include "model/specification_model.h"
#include "report/report_writer.h"
#include "run/generation_driver.h"
#include "run/parallel_reading.h"

namespace dovrek {

// The stages that read the project and its members.
class ProductionStages : public RunStages {
 public:
  ProductionStages(SpecificationModel& model, const Options& options)
      : model_(model), options_(options) {}

  Status ReadProject(const SourcePath& project_path) override;
  Status ReadModule(const SourcePath& path) override;
  // Starts reading the files on threads; ReadModule then joins them in this order.
  void ReadAhead(const std::vector<SourcePath>& paths) override;

  // True when the last ReadProject refused its file as no project (the user's mistake).
  bool refused_project() const { return refused_project_; }

 private:
  SpecificationModel& model_;
  const Options options_;  // a copy: the run's flags cannot change under it
  std::unique_ptr<ParallelReading> ahead_;
  bool refused_project_ = false;
};

// One run over the project with the real stages, writing with `writers`.
bool RunSpecification(const SourcePath& project_path, SpecificationModel& model, Options options,
                      MessageBox& msg, ProgressWindow& progress, const ReportWriters& writers);

}  // namespace dovrek

#pragma once
// The real stages of a run, bound to the windows (or their stand-ins) of one way of running.

#include <memory>
#include <string>
#include <vector>

#include "model/specification_model.h"
#include "frontend/file_dialog.h"
#include "frontend/message_box.h"
#include "frontend/progress_window.h"
#include "codepage/encoding.h"
#include "frontend/warning_reporter.h"
#include "report/workbook_handover.h"
#include "run/generation_driver.h"
#include "run/parallel_reading.h"

namespace dovrek {

// What the stages show and where their products go.
struct RunServices {
  MessageBox& msg;
  ProgressWindow& progress;
  FileDialog& dialog;
  WorkbookHandover& handover;
  WarningReporter& warnings;  // damage the workbook survives
  std::string template_path;  // native
  Encoding text_encoding = Encoding::kCp932;
};

class ProductionStages : public RunStages {
 public:
  ProductionStages(SpecificationModel& model, const Options& options, RunServices& services)
      : model_(model), options_(options), services_(services) {}

  bool ReadProject(const SourcePath& project_path) override;
  bool ReadModule(const SourcePath& path) override;
  // Starts reading the files on threads; ReadModule then joins them in this order.
  void ReadAhead(const std::vector<SourcePath>& paths) override;
  bool WriteWorkbookReport() override;
  bool WriteTextReport() override;

  // The procedures whose text the handed-over workbook holds cut to the cell limit.
  const std::vector<std::string>& cut_procedures() const { return cut_procedures_; }
  // True when the last ReadProject refused its file as no project (the user's mistake).
  bool refused_project() const { return refused_project_; }

 private:
  SpecificationModel& model_;
  const Options options_;  // a copy: the run's flags cannot change under it
  RunServices& services_;
  std::vector<std::string> cut_procedures_;
  std::unique_ptr<ParallelReading> ahead_;
  bool refused_project_ = false;
};

// One run over the project with the real stages. Afterwards, also when a later stage failed,
// the hand-over reports the procedures whose text its workbook holds cut.
bool RunSpecification(const SourcePath& project_path, SpecificationModel& model, Options options,
                      RunServices& services);

}  // namespace dovrek

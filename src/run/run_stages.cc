#include "run/run_stages.h"

#include <new>

#include "source/project_reader.h"
#include "platform/native_path.h"
#include "platform/system_error.h"
#include "report/report_mode.h"
#include "report/text_report.h"
#include "report/workbook_report.h"
#include "source/module_scanner.h"

namespace dovrek {
namespace {

// Runs one stage. Running out of memory fails the stage with a message naming the file being
// read (`windows_path`, or none) instead of ending the program; the stage's own buffers are
// released by the unwinding before the message is shown.
template <typename Stage>
bool Guarded(MessageBox& msg, const std::string& windows_path, Stage stage) {
  try {
    return stage();
  } catch (const std::bad_alloc&) {
    msg.ShowError(windows_path.empty() ? std::string(kOutOfMemory)
                                       : ToNativePath(windows_path) + ": " + kOutOfMemory);
    return false;
  }
}

}  // namespace

bool ProductionStages::ReadProject(const std::string& project_path) {
  return Guarded(services_.msg, project_path, [&] {
    return dovrek::ReadProject(project_path, options_, &model_, services_.msg);
  });
}

void ProductionStages::ReadAhead(const std::vector<std::string>& paths, FolderListings& listings) {
  ahead_ = std::make_unique<ParallelReading>(paths, options_, model_.Encoding, listings);
}

// A file asked for out of the announced order is read here, after the threads have ended.
bool ProductionStages::ReadModule(const std::string& path, FolderListings& listings) {
  return Guarded(services_.msg, path, [&] {
    if (ahead_ && ahead_->IsNext(path)) return ahead_->JoinNext(&model_, services_.msg);
    ahead_.reset();
    return dovrek::ReadModule(path, options_, &model_, services_.msg, &listings);
  });
}

bool ProductionStages::WriteWorkbookReport() {
  return Guarded(services_.msg, "", [&] {
    return dovrek::WriteWorkbookReport(model_, services_.template_path, services_.handover,
                                       services_.progress, services_.msg, &cut_procedures_,
                                       ReportModeOf(options_));
  });
}

bool ProductionStages::WriteTextReport() {
  return Guarded(services_.msg, "", [&] {
    return dovrek::WriteTextReport(model_, services_.dialog, services_.progress, services_.msg,
                                   services_.text_encoding, ReportModeOf(options_));
  });
}

bool RunSpecification(const std::string& project_path, SpecificationModel& model,
                      const Options& options, RunServices& services) {
  ProductionStages stages(model, options, services);
  RunContext run{model, options, services.msg, services.progress, stages};
  bool done = CreateSpecification(project_path, run);
  services.handover.ReportCutTexts(stages.cut_procedures());
  return done;
}

}  // namespace dovrek

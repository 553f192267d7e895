#include "run/run_stages.h"

#include "draw/screen_picture.h"
#include "os/native_path.h"
#include "os/system_error.h"
#include "report/report_mode.h"
#include "report/text_report.h"
#include "report/workbook_report.h"
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
  return GuardedStage(services_.msg, project_path.display(), [&] {
    Status read = dovrek::ReadProject(project_path, options_, &model_);
    refused_project_ = read.IsWrongKind();
    return Shown(services_.msg, read);
  });
}

void ProductionStages::ReadAhead(const std::vector<SourcePath>& paths) {
  ahead_ = std::make_unique<ParallelReading>(paths, options_, model_.SourceEncoding);
}

// A file asked for out of the announced order is read here, after the threads have ended.
bool ProductionStages::ReadModule(const SourcePath& path) {
  return GuardedStage(services_.msg, path.display(), [&] {
    if (ahead_ && ahead_->IsNext(path)) return Shown(services_.msg, ahead_->JoinNext(&model_));
    ahead_.reset();
    return Shown(services_.msg, dovrek::ReadModule(path, options_, &model_));
  });
}

// A missing template is the user's to mend: it is shown as a caution, not as an error.
bool ProductionStages::WriteWorkbookReport() {
  return GuardedStage(services_.msg, "", [&] {
    const ReportMode mode = ReportModeOf(options_);
    std::vector<std::string> pictures;
    if (mode == ReportMode::kComplete && model_.ScreensDescribed) {
      pictures = DrawScreenPictures(model_.Screens);
    }
    Status written = dovrek::WriteWorkbookReport(
        model_, services_.template_path, services_.handover, services_.progress, services_.warnings,
        &cut_procedures_, mode, &pictures);
    if (written.IsNotFound()) {
      services_.msg.ShowMessage(written.message());
      return false;
    }
    return Shown(services_.msg, written);
  });
}

bool ProductionStages::WriteTextReport() {
  return GuardedStage(services_.msg, "", [&] {
    return Shown(services_.msg,
                 dovrek::WriteTextReport(model_, services_.dialog, services_.progress,
                                         services_.text_encoding, ReportModeOf(options_)));
  });
}

bool RunSpecification(const SourcePath& project_path, SpecificationModel& model, Options options,
                      RunServices& services) {
  ProductionStages stages(model, options, services);
  RunContext run{model, options, services.msg, services.progress, stages};
  bool done = CreateSpecification(project_path, run);
  services.handover.ReportCutTexts(stages.cut_procedures());
  return done;
}

}  // namespace dovrek

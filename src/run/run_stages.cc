#include "run/run_stages.h"

#include "model/project_reader.h"
#include "report/text_report.h"
#include "report/workbook_report.h"
#include "source/module_scanner.h"

namespace dovrek {

bool ProductionStages::ReadProject(const std::string& project_path) {
  return dovrek::ReadProject(project_path, options_, &model_, services_.msg);
}

bool ProductionStages::ReadModule(const std::string& path) {
  return dovrek::ReadModule(path, options_, &model_, services_.msg);
}

bool ProductionStages::WriteWorkbookReport() {
  return dovrek::WriteWorkbookReport(model_, services_.template_path, services_.handover,
                                     services_.progress, services_.msg, &cut_procedures_);
}

bool ProductionStages::WriteTextReport() {
  return dovrek::WriteTextReport(model_, services_.dialog, services_.progress, services_.msg,
                                 services_.text_encoding);
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

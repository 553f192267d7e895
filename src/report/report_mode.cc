#include "report/report_mode.h"

namespace dovrek {

std::string ScopeText(const ProcedureEntry& entry, ReportMode mode) {
  if (mode != ReportMode::kComplete || !entry.Static) return entry.Scope;
  return entry.Scope.empty() ? "Static" : entry.Scope + " Static";
}

}  // namespace dovrek

#pragma once
// Whether the reports describe the project as the default layout has it or in complete mode,
// which adds each procedure's kind and the member lists of the kinds only it reads.

#include <string>

#include "model/specification_model.h"

namespace dovrek {

enum class ReportMode { kDefault, kComplete };

inline ReportMode ReportModeOf(const Options& options) {
  return options.Complete ? ReportMode::kComplete : ReportMode::kDefault;
}

// The scope as a report prints it: in complete mode a Static procedure reads "Private Static"
// (or "Static" alone when it has no scope word); otherwise the stored scope unchanged.
std::string ScopeText(const ProcedureEntry& entry, ReportMode mode);

}  // namespace dovrek

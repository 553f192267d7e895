#pragma once
// Whether the reports describe the project as the default layout has it or in complete mode,
// which adds each procedure's kind and the four further component lists.

#include <string>
#include <vector>

#include "model/specification_model.h"

namespace dovrek {

enum class ReportMode { kDefault, kComplete };

inline ReportMode ReportModeOf(const Options& options) {
  return options.Complete ? ReportMode::kComplete : ReportMode::kDefault;
}

// The scope as a report prints it: in complete mode a Static procedure reads "Private Static"
// (or "Static" alone when it has no scope word); otherwise the stored scope unchanged.
std::string ScopeText(const ProcedureEntry& entry, ReportMode mode);

// One of the member lists only complete mode reports: the text report's heading, the defined
// name of the workbook's file composition cell, and the model's list.
struct ComponentList {
  const char* heading;
  const char* defined_name;
  std::vector<MemberFile> SpecificationModel::*files;
};

// In the order the reports list them, after the class modules.
inline constexpr ComponentList kCompleteModeLists[] = {
    {"○使用するユーザーコントロール", "CONTROL", &SpecificationModel::ControlFiles},
    {"○使用するプロパティページ", "PAGE", &SpecificationModel::PageFiles},
    {"○使用するユーザードキュメント", "DOCUMENT", &SpecificationModel::DocumentFiles},
    {"○使用するデザイナ", "DESIGNER", &SpecificationModel::DesignerFiles},
};

}  // namespace dovrek

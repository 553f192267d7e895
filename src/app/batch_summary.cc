#include "app/batch_summary.h"

#include <algorithm>

#include "model/member_kind.h"
#include "app/app_messages.h"
#include "base/text_helpers.h"
#include "report/member_list_text.h"
#include "source/complete_head.h"

namespace dovrek {
namespace {

std::string Count(std::string_view what, size_t count) {
  return std::string(what) + " " + std::to_string(count);
}

// "フォーム 1、標準モジュール 2、クラス モジュール 0、", and in complete mode the component
// lists after them.
std::string MemberCounts(const SpecificationModel& model, bool complete) {
  std::string counts;
  for (const MemberKindRow& row : kMemberKinds) {
    if (!row.ReadIn(complete)) continue;
    counts += Count(row.label, model.Files(row.kind).size()) + kSummarySeparator;
  }
  return counts;
}

// " (Sub 5、Property Get 2)": the entries of each kind found, kinds without any left out.
std::string KindCounts(const std::vector<ProcedureEntry>& procedures) {
  std::string joined;
  for (EntryKind kind : kEntryKinds) {
    std::string_view name = KindName(kind);
    size_t count = std::count_if(procedures.begin(), procedures.end(),
                                 [name](const ProcedureEntry& e) { return e.Kind == name; });
    if (count == 0) continue;
    if (!joined.empty()) joined += kSummarySeparator;
    joined += Count(name, count);
  }
  return joined.empty() ? joined : " (" + joined + ")";
}

std::string Outputs(const CommandLine& line) {
  std::string joined;
  for (const BatchOutputKind& kind : kBatchOutputs) {
    const std::string& path = line.*kind.path;
    if (path.empty()) continue;
    if (!joined.empty()) joined += kSummarySeparator;
    joined += std::string(kind.label) + ": ";
    joined += IsStandardOutput(path) ? kStandardOutputLabel : path;
  }
  return joined;
}

}  // namespace

std::string BatchSummary(const SpecificationModel& model, const CommandLine& line, bool complete,
                         double seconds) {
  return kSummaryLead +
         ValueOrDefault(model.Project.Name, FileNamePart(line.project_path.windows())) + " — " +
         MemberCounts(model, complete) + Count(kProceduresLabel, model.Procedures.size()) +
         (complete ? KindCounts(model.Procedures) : "") + " → " + Outputs(line) +
         SummarySeconds(seconds) + "\n" + kSettingsFileLabel + ": " +
         ValueOrDefault(line.settings_path, kNone);
}

}  // namespace dovrek

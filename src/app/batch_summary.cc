#include "app/batch_summary.h"

#include <algorithm>
#include <cstdio>

#include "platform/text_helpers.h"
#include "source/complete_head.h"

namespace dovrek {
namespace {

std::string Count(std::string_view what, size_t count) {
  return std::string(what) + " " + std::to_string(count);
}

// "ユーザーコントロール 1、…、デザイナ 0、" for complete mode's component lists.
std::string ComponentCounts(const SpecificationModel& model) {
  return Count("ユーザーコントロール", model.ControlFiles.size()) + "、" +
         Count("プロパティページ", model.PageFiles.size()) + "、" +
         Count("ユーザードキュメント", model.DocumentFiles.size()) + "、" +
         Count("デザイナ", model.DesignerFiles.size()) + "、";
}

// " (Sub 5、Property Get 2)": the entries of each kind found, kinds without any left out.
std::string KindCounts(const std::vector<ProcedureEntry>& procedures) {
  std::string joined;
  for (EntryKind kind : kEntryKinds) {
    std::string_view name = KindName(kind);
    size_t count = std::count_if(procedures.begin(), procedures.end(),
                                 [name](const ProcedureEntry& e) { return e.Kind == name; });
    if (count == 0) continue;
    if (!joined.empty()) joined += "、";
    joined += Count(name, count);
  }
  return joined.empty() ? joined : " (" + joined + ")";
}

std::string Outputs(const CommandLine& line) {
  const std::pair<const char*, const std::string*> outputs[] = {
      {"テキスト", &line.text_path},
      {"ワークブック", &line.workbook_path},
      {"JSON", &line.json_path}};
  std::string joined;
  for (const auto& [label, path] : outputs) {
    if (path->empty()) continue;
    if (!joined.empty()) joined += "、";
    joined += std::string(label) + ": " + (IsStandardOutput(*path) ? "標準出力" : *path);
  }
  return joined;
}

}  // namespace

std::string BatchSummary(const SpecificationModel& model, const CommandLine& line, bool complete,
                         double seconds) {
  char time[32];
  std::snprintf(time, sizeof time, "%.2f", seconds);
  return "完了: " + ValueOrDefault(model.Project.Name, FileNamePart(line.project_path.windows())) +
         " — " + Count("フォーム", model.FormFiles.size()) + "、" +
         Count("標準モジュール", model.ModuleFiles.size()) + "、" +
         Count("クラス モジュール", model.ClassFiles.size()) + "、" +
         (complete ? ComponentCounts(model) : "") + Count("プロシージャ", model.Procedures.size()) +
         (complete ? KindCounts(model.Procedures) : "") + " → " + Outputs(line) + " (" + time +
         " 秒)";
}

}  // namespace dovrek

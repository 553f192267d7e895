#include "run/batch_summary.h"

#include <cstdio>

#include "model/text_helpers.h"

namespace dovrek {
namespace {

std::string Count(const char* what, size_t count) {
  return std::string(what) + " " + std::to_string(count);
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

std::string BatchSummary(const SpecificationModel& model, const CommandLine& line, double seconds) {
  char time[32];
  std::snprintf(time, sizeof time, "%.2f", seconds);
  return "完了: " + ValueOrDefault(model.Project.Name, FileNamePart(line.project_path)) + " — " +
         Count("フォーム", model.FormFiles.size()) + "、" +
         Count("標準モジュール", model.ModuleFiles.size()) + "、" +
         Count("クラス モジュール", model.ClassFiles.size()) + "、" +
         Count("プロシージャ", model.Procedures.size()) + " → " + Outputs(line) + " (" + time +
         " 秒)";
}

}  // namespace dovrek

#include "app/inventory_table.h"

#include <algorithm>

#include "app/portfolio_messages.h"
#include "model/member_kind.h"
#include "app/app_messages.h"
#include "source/complete_head.h"

namespace dovrek {
namespace {

// The inventory's JSON keys of the member counts, in the order of the member kinds.
const char* const kMemberKeys[] = {"Forms",         "Modules",       "Classes",  "UserControls",
                                   "PropertyPages", "UserDocuments", "Designers"};

InventoryCell Text(std::string text) {
  InventoryCell cell;
  if (!text.empty()) cell.texts.push_back(std::move(text));
  return cell;
}

InventoryCell Number(size_t value) { return {true, static_cast<long long>(value), {}}; }

InventoryCell Texts(std::vector<std::string> texts) { return {false, 0, std::move(texts)}; }

// "1.2.3" from the version keys; empty when the project gives none.
std::string Version(const ProjectInfo& project) {
  if (project.MajorVer.empty() && project.MinorVer.empty() && project.RevisionVer.empty()) {
    return {};
  }
  return project.MajorVer + "." + project.MinorVer + "." + project.RevisionVer;
}

std::vector<std::string> ClassCounts(const InventoryRow& row) {
  std::vector<std::string> texts;
  for (const auto& [name, count] : row.ControlClasses) {
    texts.push_back(name + " " + std::to_string(count));
  }
  return texts;
}

// The cells from the procedures to the control classes, as numbers and lists.
void AddCounts(const InventoryRow& row, std::vector<InventoryCell>* cells) {
  for (size_t count : row.Members) cells->push_back(Number(count));
  cells->push_back(Number(row.Procedures));
  for (size_t k = 0; k < std::size(kEntryKinds); ++k) {
    cells->push_back(row.Complete ? Number(row.ProceduresByKind[k]) : InventoryCell());
  }
  cells->push_back(Number(static_cast<size_t>(row.Measure.Lines)));
  cells->push_back(Number(static_cast<size_t>(row.Measure.CommentLines)));
  cells->push_back(Texts(row.References.Components));
  cells->push_back(Texts(row.Measure.Dlls));
  cells->push_back(Number(row.Screens));
  cells->push_back(Number(row.Controls));
  cells->push_back(Texts(ClassCounts(row)));
}

}  // namespace

std::string InventoryCell::Joined() const {
  if (is_number) return std::to_string(number);
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "\n") + text;
  return joined;
}

std::vector<InventoryColumn> InventoryColumns() {
  std::vector<InventoryColumn> columns = {{"プロジェクト ファイル", "Path"},
                                          {"種類", "Type"},
                                          {"名前", "Name"},
                                          {"タイトル", "Title"},
                                          {"バージョン", "Version"}};
  for (size_t i = 0; i < std::size(kMemberKeys); ++i) {
    columns.push_back({kMemberKinds[i].label, kMemberKeys[i]});
  }
  columns.push_back({kProceduresLabel, "Procedures"});
  for (EntryKind kind : kEntryKinds) {
    columns.push_back({std::string(KindName(kind)), std::string(KindName(kind))});
  }
  const InventoryColumn rest[] = {{"ソース行数", "SourceLines"},
                                  {"コメント行数", "CommentLines"},
                                  {"参照コンポーネント", "Components", true},
                                  {"DLL", "Dlls", true},
                                  {"画面", "Screens"},
                                  {"コントロール", "Controls"},
                                  {"コントロールの種類", "ControlClasses", true},
                                  {"結果", "Outcome"},
                                  {"メッセージ", "Message", true}};
  columns.insert(columns.end(), std::begin(rest), std::end(rest));
  return columns;
}

std::vector<InventoryCell> InventoryCells(const InventoryRow& row) {
  std::vector<InventoryCell> cells = {Text(row.Path), Text(row.References.Type),
                                      Text(row.Project.Name), Text(row.Project.Title),
                                      Text(Version(row.Project))};
  if (row.Read) {
    AddCounts(row, &cells);
  } else {
    cells.resize(InventoryColumns().size() - 2);
  }
  cells.push_back(Text(row.Outcome));
  InventoryCell message;
  for (size_t start = 0; start < row.Message.size();) {
    size_t end = std::min(row.Message.find('\n', start), row.Message.size());
    message.texts.push_back(row.Message.substr(start, end - start));
    start = end + 1;
  }
  cells.push_back(message);
  return cells;
}

}  // namespace dovrek

#include "report/text_report.h"

#include <array>
#include <exception>
#include <string>
#include <vector>

#include "platform/system_error.h"
#include "platform/text_helpers.h"
#include "report/member_list_text.h"

namespace dovrek {
namespace {

constexpr char kListBullet[] = "    ・";

std::string Repeat(std::string_view unit, int times) {
  std::string out;
  out.reserve(unit.size() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i) out += unit;
  return out;
}

const std::string& SquareRule() {
  static const std::string rule = Repeat("■", 30);
  return rule;
}

const std::string& StarRule() {
  static const std::string rule = Repeat("*", 41);
  return rule;
}

// Rows 1 to 11: the project's title, version, description, names and defaults.
std::array<std::string, 11> ProjectRows(const ProjectInfo& p) {
  return {
      SquareRule(),
      "■  " + p.Title + "Version " + p.MajorVer + "." + p.MinorVer + "." + p.RevisionVer,
      "■",
      "■  " + p.VersionFileDescription,
      "■",
      "■  プロジェクト名　：" + p.Name,
      "■  実行ファイル名　：" + p.ExeName32,
      "■  パラメータ　　　：" + ValueOrDefault(p.Command32, kNone),
      "■  ヘルプファイル名：" + ValueOrDefault(p.HelpFile, kNone),
      SquareRule(),
      "",
  };
}

// One row for a whole member list: the entries joined by bare line feeds, "なし" when empty.
std::string ListRow(const std::vector<MemberFile>& files) {
  return MemberListText(files, kListBullet);
}

// Rows P1 to P9 of one procedure; P9 is the comment as stored, its line feeds included.
// Complete mode adds the kind after the return type and reads a Static procedure's scope so.
std::vector<std::string> ProcedureRows(const ProcedureEntry& e, ReportMode mode) {
  std::vector<std::string> rows = {
      StarRule(),
      "*",
      "*    " + e.Name + "(" + e.FileName + ")",
      "*        スコープ　：" + ScopeText(e, mode),
      "*        パラメータ：" + e.Parameters,
      "*        戻り値　　：" + e.ReturnType,
  };
  if (mode == ReportMode::kComplete) rows.push_back("*        種別　　：" + e.Kind);
  rows.insert(rows.end(), {"*", StarRule(), e.Comment});
  return rows;
}

template <typename Rows>
bool WriteRows(LogWriter& log, const Rows& rows) {
  for (const std::string& row : rows) {
    if (!log.WriteLine(row)) return false;
  }
  return true;
}

bool WriteMemberLists(LogWriter& log, const SpecificationModel& model, ReportMode mode) {
  std::vector<std::string> rows = {"○使用するフォームモジュール", ListRow(model.FormFiles),   "",
                                   "○使用する標準モジュール",     ListRow(model.ModuleFiles), "",
                                   "○使用するクラスモジュール",   ListRow(model.ClassFiles),  ""};
  if (mode == ReportMode::kComplete) {
    for (const ComponentList& list : kCompleteModeLists)
      rows.insert(rows.end(), {list.heading, ListRow(model.*list.files), ""});
  }
  return WriteRows(log, rows);
}

bool WriteProcedures(LogWriter& log, const SpecificationModel& model, ProgressWindow& progress,
                     ReportMode mode) {
  const int32_t last = model.LastProcedure();
  if (last <= -1) return true;
  // The last index, not the count, is the maximum, so the final Progress fills the bar.
  progress.InitProgress(last, kFunctionListPhase);
  for (int32_t i = 0; i <= last; ++i) {
    if (!WriteRows(log, ProcedureRows(model.Procedures[static_cast<size_t>(i)], mode)))
      return false;
    progress.Progress(i);
  }
  return true;
}

bool WriteReport(LogWriter& log, const SpecificationModel& model, ProgressWindow& progress,
                 ReportMode mode) {
  return WriteRows(log, ProjectRows(model.Project)) && WriteMemberLists(log, model, mode) &&
         WriteProcedures(log, model, progress, mode) && log.Close();
}

}  // namespace

bool WriteTextReport(const SpecificationModel& model, FileDialog& dialog, ProgressWindow& progress,
                     MessageBox& msg, LogWriter& log, ReportMode mode) {
  if (std::string why = dialog.Unavailable(); !why.empty()) {
    msg.ShowError(why);
    return false;
  }
  std::string path;
  if (!dialog.ShowSaveDialog("", &path)) return true;
  bool loaded = false;
  try {
    log.SetLogFileName(path);
    if (!log.Clear()) {
      msg.ShowError(log.error());
      return false;
    }
    progress.Load();
    loaded = true;
    bool written = WriteReport(log, model, progress, mode);
    progress.Unload();
    // The window goes first so that a console message does not share the line of the bar.
    if (!written) msg.ShowError(log.error());
    return written;
  } catch (const std::exception& e) {
    log.Abandon();
    if (loaded) progress.Unload();
    msg.ShowError(ExceptionMessage(e));
    return false;
  }
}

bool WriteTextReport(const SpecificationModel& model, FileDialog& dialog, ProgressWindow& progress,
                     MessageBox& msg, TextEncoding encoding, ReportMode mode) {
  LogWriter log(encoding);
  return WriteTextReport(model, dialog, progress, msg, log, mode);
}

}  // namespace dovrek

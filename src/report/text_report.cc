#include "report/text_report.h"

#include <array>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "model/member_kind.h"
#include "os/system_error.h"
#include "base/text_helpers.h"
#include "report/member_list_text.h"
#include "report/screens_text.h"
#include "report/report_messages.h"

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
// Each row goes to the writer in pieces, so that no row is built on its own.
Status WriteProcedureRows(LogWriter& log, const ProcedureEntry& e, ReportMode mode) {
  const std::string scope = ScopeText(e, mode);
  Status written = log.WriteLine(StarRule());
  if (written.ok()) written = log.WriteLine("*");
  if (written.ok()) written = log.WriteLine({"*    ", e.Name, "(", e.FileName, ")"});
  if (written.ok()) written = log.WriteLine({"*        スコープ　：", scope});
  if (written.ok()) written = log.WriteLine({"*        パラメータ：", e.Parameters});
  if (written.ok()) written = log.WriteLine({"*        戻り値　　：", e.ReturnType});
  if (written.ok() && mode == ReportMode::kComplete) {
    written = log.WriteLine({"*        種別　　　：", e.Kind});
  }
  if (written.ok()) written = log.WriteLine("*");
  if (written.ok()) written = log.WriteLine(StarRule());
  if (written.ok()) written = log.WriteLine(e.Comment);
  return written;
}

template <typename Rows>
Status WriteRows(LogWriter& log, const Rows& rows) {
  for (const std::string& row : rows) {
    if (Status written = log.WriteLine(row); !written.ok()) return written;
  }
  return Status::OK();
}

Status WriteMemberLists(LogWriter& log, const SpecificationModel& model, ReportMode mode) {
  std::vector<std::string> rows;
  for (const MemberKindRow& row : kMemberKinds) {
    if (!row.ReadIn(mode == ReportMode::kComplete)) continue;
    rows.insert(rows.end(), {row.heading, ListRow(model.Files(row.kind)), ""});
  }
  return WriteRows(log, rows);
}

Status WriteProcedures(LogWriter& log, const SpecificationModel& model, ProgressWindow& progress,
                       ReportMode mode) {
  const int32_t last = model.LastProcedure();
  if (last <= -1) return Status::OK();
  // The last index, not the count, is the maximum, so the final Progress fills the bar.
  progress.InitProgress(last, kFunctionListPhase);
  for (int32_t i = 0; i <= last; ++i) {
    Status written = WriteProcedureRows(log, model.Procedures[static_cast<size_t>(i)], mode);
    if (!written.ok()) return written;
    progress.Progress(i);
  }
  return Status::OK();
}

// *stage follows the writing, for a message should memory run out on the way.
Status WriteReport(LogWriter& log, const SpecificationModel& model, ProgressWindow& progress,
                   ReportMode mode, const char** stage) {
  *stage = kTextStageHeading;
  if (Status written = WriteRows(log, ProjectRows(model.Project)); !written.ok()) return written;
  if (Status written = WriteMemberLists(log, model, mode); !written.ok()) return written;
  if (mode == ReportMode::kComplete && model.ScreensDescribed) {
    if (Status written = WriteRows(log, ScreenRows(model.Screens)); !written.ok()) return written;
  }
  *stage = kTextStageProcedures;
  if (Status written = WriteProcedures(log, model, progress, mode); !written.ok()) return written;
  *stage = kTextStageClosing;
  return log.Close();
}

}  // namespace

Status WriteTextReport(const SpecificationModel& model, const PathChooser& choose,
                       ProgressWindow& progress, LogWriter& log, ReportMode mode) {
  std::string path;
  if (Status chosen = choose(&path); !chosen.ok()) return chosen;
  if (path.empty()) return Status::OK();
  bool loaded = false;
  const char* stage = kTextStageOpening;
  // The window goes before any message, so that a console message does not share the line
  // of the bar.
  auto failed = [&](std::string message) {
    log.Abandon();
    if (loaded) progress.Unload();
    return Status::Error(std::move(message));
  };
  try {
    log.SetLogFileName(path);
    if (Status cleared = log.Clear(); !cleared.ok()) return cleared;
    progress.Load();
    loaded = true;
    Status written = WriteReport(log, model, progress, mode, &stage);
    progress.Unload();
    return written;
  } catch (const std::bad_alloc&) {
    return failed(TextReportOutOfMemory(path, stage));
  } catch (const std::exception& e) {
    return failed(ExceptionMessage(e));
  }
}

Status WriteTextReport(const SpecificationModel& model, const PathChooser& choose,
                       ProgressWindow& progress, Encoding encoding, ReportMode mode,
                       OutputTransaction* transaction) {
  LogWriter log(encoding, transaction);
  return WriteTextReport(model, choose, progress, log, mode);
}

namespace {

class TextWriter : public ReportWriter {
 public:
  TextWriter(PathChooser choose, Encoding encoding, ReportMode mode,
             OutputTransaction* transaction)
      : choose_(std::move(choose)), encoding_(encoding), mode_(mode), transaction_(transaction) {}
  Status Write(const SpecificationModel& model, ProgressWindow& progress) override {
    return WriteTextReport(model, choose_, progress, encoding_, mode_, transaction_);
  }

 private:
  PathChooser choose_;
  Encoding encoding_;
  ReportMode mode_;
  OutputTransaction* transaction_;
};

}  // namespace

std::unique_ptr<ReportWriter> TextReportWriter(PathChooser choose, Encoding encoding,
                                               ReportMode mode, OutputTransaction* transaction) {
  return std::make_unique<TextWriter>(std::move(choose), encoding, mode, transaction);
}

}  // namespace dovrek

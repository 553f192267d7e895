#include "report/workbook_report.h"

#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "model/member_kind.h"
#include "base/run_date.h"
#include "os/disk.h"
#include "base/text_helpers.h"
#include "report/function_list.h"
#include "report/member_list_text.h"
#include "report/screen_sheets.h"
#include "workbook/cell_reference.h"
#include "workbook/workbook.h"
#include "workbook/workbook_error.h"
#include "report/report_messages.h"

namespace dovrek {
namespace {

constexpr int32_t kLineHeight = 14;
constexpr int32_t kRequiredWorksheets = 8;
const std::vector<std::string> kNoPictures;

// The defined names of the cover's creation date and of the contents' first page number.
constexpr char kCreated[] = "CREATED";
constexpr char kContentsPage[] = "CONTENTS_PAGE";

// A date as a Japanese document writes it: 2026年1月5日.
std::string DateText(CalendarDate date) {
  return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" +
         std::to_string(date.day) + "日";
}

void WriteCover(Worksheet& sheet, const ProjectInfo& project) {
  sheet.SetName("表紙");
  sheet.Activate();
  sheet.Range("TITLE").SetValue(project.Title);
  sheet.Range("VERSION").SetValue("Version " + project.MajorVer + "." + project.MinorVer + "." +
                                  project.RevisionVer);
  sheet.Range("COMPANY").SetValue(project.VersionCompanyName);
  sheet.Range("NAME").SetValue(project.Name);
  sheet.Range("EXENAME").SetValue(project.ExeName32);
  sheet.Range("COMMAND").SetValue(ValueOrDefault(project.Command32, kNone));
  sheet.Range("HELPFILE").SetValue(ValueOrDefault(project.HelpFile, kNone));
}

void WriteFileList(Worksheet& sheet, const char* name, const std::vector<MemberFile>& files) {
  int32_t count = static_cast<int32_t>(files.size());
  if (count > 0) {
    IgnoringFailure([&] { sheet.Range(name).SetRowHeight(count * kLineHeight); });
  }
  sheet.Range(name).SetValue(MemberListText(files));
}

// Whether the cell a defined name denotes shares its row with one of the required lists (those
// of the kinds every run reads).
bool SharesARequiredRow(Worksheet& sheet, const char* name) {
  uint32_t row = sheet.Range(name).reference().row;
  for (const MemberKindRow& kind : kMemberKinds) {
    if (!kind.complete_only && sheet.Range(kind.defined_name).reference().row == row) return true;
  }
  return false;
}

// A list only complete mode writes is optional in the template. In complete mode it is written
// when the template names it; otherwise its row and name are dropped, so the sheet reads as a
// template without it would (a row that also holds a required list stays).
void WriteCompleteModeList(Worksheet& sheet, const SpecificationModel& model, ReportMode mode,
                           const MemberKindRow& kind) {
  if (!sheet.HasDefinedName(kind.defined_name)) return;
  if (mode == ReportMode::kComplete) {
    WriteFileList(sheet, kind.defined_name, model.Files(kind.kind));
  } else if (!SharesARequiredRow(sheet, kind.defined_name)) {
    sheet.DropNamedRow(kind.defined_name);
  }
}

// The required lists, then those only complete mode writes: the kinds in their order.
void WriteFileComposition(Worksheet& sheet, const SpecificationModel& model, ReportMode mode) {
  sheet.Activate();
  sheet.SetName("ﾌｧｲﾙ構成");
  for (const MemberKindRow& kind : kMemberKinds) {
    if (kind.complete_only) {
      WriteCompleteModeList(sheet, model, mode, kind);
    } else {
      WriteFileList(sheet, kind.defined_name, model.Files(kind.kind));
    }
  }
}

void WriteOverview(Worksheet& sheet, const ProjectInfo& project) {
  sheet.Activate();
  sheet.SetName("処理概要");
  sheet.Range("DESCRIPTION").SetValue(project.VersionFileDescription);
}

// The book's first page of each of the sheets the contents list, one row each from the cell
// CONTENTS_PAGE names, as the sheets print one after the other.
void WriteContentsPages(Workbook& book, Worksheet& contents) {
  CellReference cell = contents.Range(kContentsPage).reference();
  int32_t first_page = 1;
  for (int32_t position = 1; position <= book.WorksheetCount(); ++position) {
    contents.Range(CellName(cell)).SetValue(std::to_string(first_page));
    first_page += book.Worksheets(position).PrintedPages();
    if (++cell.row > kMaxRow) break;
  }
}

// The names only complete mode fills are optional; otherwise they go, and the book reads as one
// from a template without them.
void WriteCompleteModeCells(Workbook& book, ReportMode mode) {
  Worksheet& cover = book.Worksheets(1);
  Worksheet& contents = book.Worksheets(3);
  if (mode == ReportMode::kComplete) {
    if (cover.HasDefinedName(kCreated)) cover.Range(kCreated).SetValue(DateText(RunDate()));
    if (contents.HasDefinedName(kContentsPage)) WriteContentsPages(book, contents);
    return;
  }
  cover.DropDefinedName(kCreated);
  contents.DropDefinedName(kContentsPage);
}

// The most procedures the function list holds: the description of the last one must still lie
// on or above the worksheet's last row, when none goes on over several rows.
constexpr size_t kMostProcedures = (kMaxRow - kFirstHeadingRow - kHeadingToDescription) /
                                       (kHeadingToDescription + kDescriptionToNextHeading) +
                                   1;

// Saves the book, telling a failure as a message instead of throwing it through the hand-over.
WorkbookSaver SaverOf(Workbook& book) {
  return [&book](const std::string& native_path, OutputTransaction* transaction) {
    try {
      book.SaveAs(native_path, transaction);
      return Status::OK();
    } catch (const std::exception& failure) {
      return Status::Error(failure.what());
    }
  };
}

}  // namespace

Status WriteWorkbookReport(const SpecificationModel& model, const std::string& template_path,
                           WorkbookHandover& handover, ProgressWindow& progress,
                           WarningReporter& warnings, std::vector<std::string>* cut_procedures,
                           ReportMode mode, const ScreenPictureSource& screen_pictures) {
  if (RealDisk().Kind(template_path) != FileKind::kRegular) {
    return Status::NotFound(kTemplateMissingMessage);
  }
  if (model.Procedures.size() > kMostProcedures) {
    return Status::BadInput(TooManyProceduresMessage(model.Procedures.size(), kMostProcedures));
  }
  if (uint64_t rows = FunctionListRows(model.Procedures); rows > kMaxRow) {
    return Status::BadInput(FunctionListTooLongMessage(rows, kMaxRow));
  }
  const bool screen_sheets = mode == ReportMode::kComplete && model.ScreensDescribed;
  const std::vector<std::string>& pictures =
      screen_sheets && screen_pictures ? screen_pictures() : kNoPictures;
  progress.Load();
  bool progress_shown = true;
  try {
    std::unique_ptr<Workbook> book = Workbook::Open(template_path, &warnings);
    if (book->WorksheetCount() < kRequiredWorksheets) {
      throw WorkbookError(
          TooFewWorksheetsMessage(template_path, kRequiredWorksheets, book->WorksheetCount()));
    }
    WriteCover(book->Worksheets(1), model.Project);
    WriteFileComposition(book->Worksheets(5), model, mode);
    WriteOverview(book->Worksheets(4), model.Project);
    std::vector<std::string> cut;
    WriteFunctionList(book->Worksheets(8), model, progress, mode, &cut);
    if (screen_sheets) WriteScreenSheets(*book, model.Screens, pictures);
    WriteCompleteModeCells(*book, mode);
    progress.Unload();
    progress_shown = false;
    book->Sheets(1).Activate();
    // Only a missing template is NotFound here: a folder missing for the hand-over fails.
    if (Status handed = handover.HandOver(SaverOf(*book), model.Project.Name); !handed.ok()) {
      return Status::Error(handed.message());
    }
    if (cut_procedures) *cut_procedures = std::move(cut);
    return Status::OK();
  } catch (const std::exception& failure) {
    if (progress_shown) progress.Unload();
    return Status::Error(failure.what());
  }
}

}  // namespace dovrek

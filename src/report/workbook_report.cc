#include "report/workbook_report.h"

#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "platform/source_path.h"
#include "platform/text_helpers.h"
#include "report/member_list_text.h"
#include "report/workbook/cell_reference.h"
#include "report/workbook/workbook.h"
#include "report/workbook/workbook_error.h"

namespace dovrek {
namespace {

constexpr int32_t kLineHeight = 14;
constexpr char kFunctionColumn[] = "B";
constexpr int32_t kFirstHeadingRow = 5;
constexpr int32_t kHeadingToDescription = 2;
constexpr int32_t kDescriptionToNextHeading = 3;
constexpr int32_t kHeadingFill = 12500670;  // grey 190, 190, 190
constexpr int32_t kHeadingFont = 16777215;  // white
constexpr int32_t kRequiredWorksheets = 8;

// Runs a cosmetic step whose failure leaves the template's look and nothing worse.
template <typename Step>
void IgnoringFailure(Step step) {
  try {
    step();
  } catch (const WorkbookError&) {
  }
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

constexpr const char* kRequiredLists[] = {"FORM", "MODULE", "CLASS"};

// Whether the cell a defined name denotes shares its row with one of the required lists.
bool SharesARequiredRow(Worksheet& sheet, const char* name) {
  uint32_t row = sheet.Range(name).reference().row;
  for (const char* required : kRequiredLists) {
    if (sheet.Range(required).reference().row == row) return true;
  }
  return false;
}

// The lists only complete mode writes are optional in the template. In complete mode each one
// the template names is written; otherwise its row and name are dropped, so the sheet reads as
// a template without them would (a row that also holds a required list stays).
void WriteCompleteModeLists(Worksheet& sheet, const SpecificationModel& model, ReportMode mode) {
  for (const ComponentList& list : kCompleteModeLists) {
    if (!sheet.HasDefinedName(list.defined_name)) continue;
    if (mode == ReportMode::kComplete) {
      WriteFileList(sheet, list.defined_name, model.*list.files);
    } else if (!SharesARequiredRow(sheet, list.defined_name)) {
      sheet.DropNamedRow(list.defined_name);
    }
  }
}

void WriteFileComposition(Worksheet& sheet, const SpecificationModel& model, ReportMode mode) {
  sheet.Activate();
  sheet.SetName("ﾌｧｲﾙ構成");
  WriteFileList(sheet, "FORM", model.FormFiles);
  WriteFileList(sheet, "MODULE", model.ModuleFiles);
  WriteFileList(sheet, "CLASS", model.ClassFiles);
  WriteCompleteModeLists(sheet, model, mode);
}

void WriteOverview(Worksheet& sheet, const ProjectInfo& project) {
  sheet.Activate();
  sheet.SetName("処理概要");
  sheet.Range("DESCRIPTION").SetValue(project.VersionFileDescription);
}

// How a procedure is named to the user: its name and, in parentheses, its file.
std::string ProcedureLabel(const ProcedureEntry& entry) {
  return entry.Name + "(" + entry.FileName + ")";
}

// Four lines, five in complete mode (the kind); each ends with a line feed.
std::string HeadingText(const ProcedureEntry& entry, ReportMode mode) {
  std::string text = ProcedureLabel(entry) + "\n" + "スコープ　：" + ScopeText(entry, mode) + "\n" +
                     "パラメータ：" + entry.Parameters + "\n" + "戻り値　　：" + entry.ReturnType +
                     "\n";
  if (mode == ReportMode::kComplete) text += "種別　　：" + entry.Kind + "\n";
  return text;
}

// The address of a function-list cell, "B" and the row in digits.
std::string FunctionListCell(int32_t row) {
  std::string address(kFunctionColumn);
  address += std::to_string(row);
  return address;
}

// Writes one block per procedure; adds to *cut the label of each procedure whose heading or
// description was cut to the cell limit.
void WriteFunctionList(Worksheet& sheet, const SpecificationModel& model, ProgressWindow& progress,
                       ReportMode mode, std::vector<std::string>* cut) {
  sheet.Activate();
  sheet.SetName("関数一覧");
  const int32_t last = model.LastProcedure();
  if (last == -1) return;
  progress.InitProgress(last, kFunctionListPhase);
  int32_t row = kFirstHeadingRow;
  for (int32_t i = 0; i <= last; ++i) {
    const ProcedureEntry& entry = model.Procedures[static_cast<size_t>(i)];
    Cell heading = sheet.Range(FunctionListCell(row));
    const std::string text = HeadingText(entry, mode);
    bool heading_cut = heading.SetValue(text);
    heading.Interior().SetColor(kHeadingFill);
    heading.Font().SetColor(kHeadingFont);
    // The lines the cell holds: the text's own unless it was cut (reading the cell back costs
    // as much as writing it).
    heading.SetRowHeight(CountLineFeeds(heading_cut ? heading.Value() : text) * kLineHeight);
    row += kHeadingToDescription;
    Cell description = sheet.Range(FunctionListCell(row));
    if (description.SetValue(entry.Comment) || heading_cut) cut->push_back(ProcedureLabel(entry));
    IgnoringFailure([&] { description.SetRowHeight(CountLineFeeds(entry.Comment) * kLineHeight); });
    row += kDescriptionToNextHeading;
    progress.Progress(i);
  }
}

// The most procedures the function list holds: the description of the last one must still lie
// on or above the worksheet's last row.
constexpr size_t kMostProcedures = (kMaxRow - kFirstHeadingRow - kHeadingToDescription) /
                                       (kHeadingToDescription + kDescriptionToNextHeading) +
                                   1;

// Saves the book, telling a failure as a message instead of throwing it through the hand-over.
WorkbookSaver SaverOf(Workbook& book) {
  return [&book](const std::string& native_path) {
    try {
      book.SaveAs(native_path);
      return Status::OK();
    } catch (const std::exception& failure) {
      return Status::Error(failure.what());
    }
  };
}

}  // namespace

Status WriteWorkbookReport(const SpecificationModel& model, const std::string& template_path,
                           WorkbookHandover& handover, ProgressWindow& progress,
                           std::vector<std::string>* cut_procedures, ReportMode mode) {
  const SourcePath template_file = SourcePath::Locate(template_path);
  if (!template_file.IsFile()) return Status::NotFound(kTemplateMissingMessage);
  const std::string& found = template_file.found();
  if (model.Procedures.size() > kMostProcedures) {
    return Status::BadInput(TooManyProceduresMessage(model.Procedures.size(), kMostProcedures));
  }
  progress.Load();
  bool progress_shown = true;
  try {
    std::unique_ptr<Workbook> book = Workbook::Open(found);
    if (book->WorksheetCount() < kRequiredWorksheets) {
      throw WorkbookError(
          TooFewWorksheetsMessage(found, kRequiredWorksheets, book->WorksheetCount()));
    }
    WriteCover(book->Worksheets(1), model.Project);
    WriteFileComposition(book->Worksheets(5), model, mode);
    WriteOverview(book->Worksheets(4), model.Project);
    std::vector<std::string> cut;
    WriteFunctionList(book->Worksheets(8), model, progress, mode, &cut);
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

#include "report/function_list.h"

#include <algorithm>
#include <string_view>

#include "report/report_messages.h"
#include "base/text_helpers.h"
#include "workbook/page_frame.h"
#include "workbook/workbook_error.h"
#include "workbook/wrapped_lines.h"

namespace dovrek {
namespace {

constexpr int32_t kLineHeight = 14;
// The lines a description row holds: as many as fit the tallest row (29, 406 points).
constexpr int32_t kLinesPerRow = kMaxRowHeight / kLineHeight;
constexpr char kFunctionColumn[] = "B";
constexpr uint32_t kFunctionColumnNumber = 2;

// The heading colours. The default ones are white on grey 190; complete mode prints dark on
// light, black on grey 217 (a contrast of about 15 : 1), which a monochrome printer keeps.
struct HeadingColors {
  int32_t fill;
  int32_t font;
};
constexpr HeadingColors kDefaultHeading = {12500670, 16777215};  // grey 190, 190, 190; white
constexpr HeadingColors kCompleteHeading = {14277081, 0};        // grey 217, 217, 217; black

// Four lines, five in complete mode (the kind); each ends with a line feed. The labels are five
// full-width characters wide up to the colon.
std::string HeadingText(const ProcedureEntry& entry, ReportMode mode) {
  std::string text = ProcedureLabel(entry) + "\n" + "スコープ　：" + ScopeText(entry, mode) + "\n" +
                     "パラメータ：" + entry.Parameters + "\n" + "戻り値　　：" + entry.ReturnType +
                     "\n";
  if (mode == ReportMode::kComplete) text += "種別　　　：" + entry.Kind + "\n";
  return text;
}

// The address of a function-list cell, "B" and the row in digits.
std::string FunctionListCell(int32_t row) {
  std::string address(kFunctionColumn);
  address += std::to_string(row);
  return address;
}

// Cuts the next row's text off the front of a description: its first kLinesPerRow lines with
// their line feeds, or all of it when it has no more.
std::string_view NextDescriptionRow(std::string_view& rest) {
  size_t end = 0;
  for (int32_t lines = 0; lines < kLinesPerRow && end < rest.size(); ++lines) {
    size_t feed = rest.find('\n', end);
    end = feed == std::string_view::npos ? rest.size() : feed + 1;
  }
  std::string_view row = rest.substr(0, end);
  rest.remove_prefix(end);
  return row;
}

// The rows of a description beyond its first.
uint64_t ContinuationRows(std::string_view comment) {
  uint64_t lines = static_cast<uint64_t>(std::count(comment.begin(), comment.end(), '\n'));
  if (!comment.empty() && comment.back() != '\n') ++lines;
  return lines <= kLinesPerRow ? 0 : (lines - 1) / kLinesPerRow;
}

// Lays out the blocks one after the other and writes them.
class FunctionListWriter {
 public:
  FunctionListWriter(Worksheet& sheet, ReportMode mode, std::vector<std::string>* cut)
      : sheet_(sheet),
        mode_(mode),
        colors_(mode == ReportMode::kComplete ? kCompleteHeading : kDefaultHeading),
        cut_(cut),
        places_(ColumnPlaces(sheet.ColumnWidth(kFunctionColumnNumber),
                             sheet.DefaultFontSize(), HeadingFontSize(sheet))),
        pages_(sheet.PageRowSpace()) {
    RowSpan titles = sheet.PrintTitles();
    for (int32_t row = 1; row < kFirstHeadingRow; ++row) {
      if (row < static_cast<int32_t>(titles.first) || row > static_cast<int32_t>(titles.last)) {
        pages_.AddRow(sheet.PrintedRowHeight(row));
      }
    }
  }

  void Write(const ProcedureEntry& entry);

 private:
  static double HeadingFontSize(Worksheet& sheet) {
    return sheet.FontSizeAt({kFunctionColumnNumber, kFirstHeadingRow});
  }
  int32_t WriteHeading(const ProcedureEntry& entry, bool* cut);
  int32_t WriteDescriptionRow(std::string_view text, bool continued, bool* cut);
  double Printed(int32_t row) { return sheet_.PrintedRowHeight(static_cast<uint32_t>(row)); }

  Worksheet& sheet_;
  ReportMode mode_;
  HeadingColors colors_;
  std::vector<std::string>* cut_;
  int32_t places_;
  Paginator pages_;
  int32_t row_ = kFirstHeadingRow;
  std::vector<double> heights_;  // of the block being written, row by row; reused
  bool out_of_step_ = false;  // the last block broke a page by itself
};

// Writes the heading in the current row and answers its height: its lines once wrapped in the
// column, 14 points each. A heading whose lines do not wrap gets one line for each line feed.
int32_t FunctionListWriter::WriteHeading(const ProcedureEntry& entry, bool* cut) {
  Cell heading = sheet_.Range(FunctionListCell(row_));
  const std::string text = HeadingText(entry, mode_);
  *cut = heading.SetValue(text);
  heading.Interior().SetColor(colors_.fill);
  heading.Font().SetColor(colors_.font);
  // The lines the cell holds: the text's own unless it was cut (reading the cell back costs as
  // much as writing it).
  int32_t height = WrappedLineCount(*cut ? heading.Value() : text, places_) * kLineHeight;
  heading.SetRowHeight(height);
  return std::min(height, kMaxRowHeight);
}

// Writes one row of a description in the current row and answers its height. A row of a
// description that goes on over several rows counts a last line without a line feed too.
int32_t FunctionListWriter::WriteDescriptionRow(std::string_view text, bool continued, bool* cut) {
  Cell description = sheet_.Range(FunctionListCell(row_));
  if (description.SetValue(text)) *cut = true;
  int32_t lines = CountLineFeeds(text);
  if (continued && !text.empty() && text.back() != '\n') ++lines;
  IgnoringFailure([&] { description.SetRowHeight(lines * kLineHeight); });
  return std::min(lines * kLineHeight, kMaxRowHeight);
}

// A block goes on paper with the two rows before its heading (none before the first), so that a
// page ends with a description and the next one opens with the gap before a heading.
void FunctionListWriter::Write(const ProcedureEntry& entry) {
  const int32_t first_row = row_ == kFirstHeadingRow ? row_ : row_ - kDescriptionToNextHeading + 1;
  heights_.clear();
  for (int32_t lead = first_row; lead < row_; ++lead) heights_.push_back(Printed(lead));
  bool cut = false;
  heights_.push_back(WriteHeading(entry, &cut));
  for (int32_t gap = 1; gap < kHeadingToDescription; ++gap) heights_.push_back(Printed(row_ + gap));
  row_ += kHeadingToDescription;
  std::string_view rest = entry.Comment;
  const bool continued = ContinuationRows(rest) > 0;
  do {
    heights_.push_back(WriteDescriptionRow(NextDescriptionRow(rest), continued, &cut));
    if (!rest.empty()) ++row_;
  } while (!rest.empty());
  if (cut) cut_->push_back(ProcedureLabel(entry));

  double block = 0;
  for (double height : heights_) block += height;
  // Where the printer breaks a page by itself, inside a block taller than a page, depends on its
  // own page, which may hold more than the page reckoned here; the block after such a break
  // starts a page, so that the pages stay in step.
  if (pages_.NeedsNewPage(block) || out_of_step_) {
    sheet_.AddRowBreak(static_cast<uint32_t>(first_row));
    pages_.Break();
  }
  out_of_step_ = false;
  for (double height : heights_) out_of_step_ |= pages_.AddRow(height);
  row_ += kDescriptionToNextHeading;
}

}  // namespace

uint64_t FunctionListRows(const std::vector<ProcedureEntry>& procedures) {
  uint64_t rows = kFirstHeadingRow - kDescriptionToNextHeading;
  for (const ProcedureEntry& entry : procedures) {
    rows += kHeadingToDescription + kDescriptionToNextHeading + ContinuationRows(entry.Comment);
  }
  return rows;
}

std::string ProcedureLabel(const ProcedureEntry& entry) {
  return entry.Name + "(" + entry.FileName + ")";
}

void WriteFunctionList(Worksheet& sheet, const SpecificationModel& model, ProgressWindow& progress,
                       ReportMode mode, std::vector<std::string>* cut) {
  sheet.Activate();
  sheet.SetName("関数一覧");
  const int32_t last = model.LastProcedure();
  if (last == -1) return;
  progress.InitProgress(last, kFunctionListPhase);
  FunctionListWriter writer(sheet, mode, cut);
  for (int32_t i = 0; i <= last; ++i) {
    writer.Write(model.Procedures[static_cast<size_t>(i)]);
    progress.Progress(i);
  }
}

}  // namespace dovrek

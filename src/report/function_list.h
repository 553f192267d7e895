#pragma once
// The function list of the workbook: one block of cells per procedure in column B, laid out to
// print whole. A heading row as tall as its lines once they wrap in the column, two rows below
// it the description, continued in the rows below when it needs more than a row can be tall,
// and the next heading three rows below the description's last row. A manual page break starts
// a block on a new page when it would otherwise be split and fits on one page, or when it is
// taller than a page.

#include <cstdint>
#include <string>
#include <vector>

#include "model/specification_model.h"
#include "frontend/progress_window.h"
#include "report/report_mode.h"
#include "workbook/worksheet.h"

namespace dovrek {

// The first heading row, and the rows from a heading to its description and from a
// description's last row to the next heading.
inline constexpr int32_t kFirstHeadingRow = 5;
inline constexpr int32_t kHeadingToDescription = 2;
inline constexpr int32_t kDescriptionToNextHeading = 3;

// The rows the function list of these procedures takes, from row 1 to the last description
// row. Counted before writing, so that a list the worksheet cannot hold is refused first.
uint64_t FunctionListRows(const std::vector<ProcedureEntry>& procedures);

// How a procedure is named to the user: its name and, in parentheses, its file.
std::string ProcedureLabel(const ProcedureEntry& entry);

// Names and writes the function list on `sheet`; adds to *cut the label of each procedure whose
// heading or description was cut to the cell limit. The list must fit the worksheet (see
// FunctionListRows).
void WriteFunctionList(Worksheet& sheet, const SpecificationModel& model, ProgressWindow& progress,
                       ReportMode mode, std::vector<std::string>* cut);

}  // namespace dovrek

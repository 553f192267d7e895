#pragma once
// The specification as a spreadsheet workbook, made from the template Dovrek.xlt: the cover,
// the processing overview, the file composition and one block of cells per procedure on the
// function list.

#include <functional>
#include <string>
#include <vector>

#include "model/specification_model.h"
#include "frontend/progress_window.h"
#include "base/status.h"
#include "frontend/warning_reporter.h"
#include "report/report_mode.h"
#include "report/workbook_handover.h"

namespace dovrek {

// The PNG pictures of the model's screens, in their order.
using ScreenPictureSource = std::function<const std::vector<std::string>&()>;

// Builds the workbook from the template (a native path) and hands it over. When the
// template is not an existing regular file, fails as NotFound with kTemplateMissingMessage
// without touching the progress window. More procedures than the function list's worksheet holds
// are refused the same way as BadInput, with their count, before anything is written. Any later
// failure (a template that is not a usable workbook, fewer than eight worksheets, a defined name
// that is missing or not one cell on its sheet, a failed hand-over) is an Error with its
// description, the progress window unloaded. After a successful
// hand-over, *cut_procedures (when given) holds "Name(FileName)" of each procedure whose heading
// or description was cut to the cell limit, in list order. Complete mode adds the kind to each
// heading and fills the file composition's CONTROL, PAGE, DOCUMENT and DESIGNER cells that the
// template names; the default mode removes those rows and names, and neither mode needs them.
// When complete mode described the screens, it fills the list of screens and adds a sheet per
// screen after the function list, with the PNG picture `screen_pictures` answers for it in the
// screens' order (none when it is not given); the pictures are asked for only once the template
// has been found and the procedures fit, before the progress window is loaded. Damage the workbook
// survives (a cut text, a template entry left out) is told to `warnings`.
Status WriteWorkbookReport(const SpecificationModel& model, const std::string& template_path,
                           WorkbookHandover& handover, ProgressWindow& progress,
                           WarningReporter& warnings,
                           std::vector<std::string>* cut_procedures = nullptr,
                           ReportMode mode = ReportMode::kDefault,
                           const ScreenPictureSource& screen_pictures = {});

}  // namespace dovrek

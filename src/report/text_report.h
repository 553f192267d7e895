#pragma once
// The specification as a plain text file: a project block, the three lists of member files and
// one nine-row block per procedure, each row ended by CR LF (line feeds inside a row stay bare).
// Complete mode adds four more member lists and a kind row to each procedure block.

#include "model/specification_model.h"
#include "frontend/progress_window.h"
#include "base/status.h"
#include "codepage/encoding.h"
#include "report/log_writer.h"
#include "report/report_mode.h"
#include "report/report_writer.h"

namespace dovrek {

// Asks `choose` for the file; its failure (nobody to ask) is answered. No file chosen: succeeds,
// nothing is created or changed and no progress window is shown. Otherwise writes the report
// through `log` (its file name becomes the chosen path; its encoding is used) with the progress
// window loaded around the writing. A file that cannot be created or written fails with
// "<path>: <reason>", the progress window unloaded.
Status WriteTextReport(const SpecificationModel& model, const PathChooser& choose,
                       ProgressWindow& progress, LogWriter& log,
                       ReportMode mode = ReportMode::kDefault);

// The same through a log writer of its own, writing in `encoding`, in `transaction` when given.
Status WriteTextReport(const SpecificationModel& model, const PathChooser& choose,
                       ProgressWindow& progress, Encoding encoding = Encoding::kCp932,
                       ReportMode mode = ReportMode::kDefault,
                       OutputTransaction* transaction = nullptr);

// The text report as one output of a run.
std::unique_ptr<ReportWriter> TextReportWriter(PathChooser choose, Encoding encoding,
                                               ReportMode mode, OutputTransaction* transaction);

}  // namespace dovrek

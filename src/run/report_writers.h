#pragma once
// The outputs of a run, chosen from its options before it starts: which writers there are, in
// the order they write, and where each one's output goes (the way of running decides that).

#include <string>

#include "codepage/encoding.h"
#include "draw/screen_picture.h"
#include "frontend/file_dialog.h"
#include "frontend/warning_reporter.h"
#include "model/specification_model.h"
#include "os/output_transaction.h"
#include "report/report_writer.h"
#include "report/workbook_handover.h"

namespace dovrek {

// Where the outputs go.
struct OutputPlaces {
  WorkbookHandover& workbook;
  WarningReporter& warnings;  // damage the workbook survives
  std::string template_path;  // the workbook's template, native
  PathChooser text;           // the text report's file, asked for when that report starts
  Encoding text_encoding = Encoding::kCp932;
  std::string json_path;                     // native; empty: no JSON
  OutputTransaction* transaction = nullptr;  // null: each file goes in place when written
  DrawnScreenPictures* pictures = nullptr;   // shared with the run's other outputs, or none
};

// The writers the options choose, in the order they write: the workbook when Xls is on, the
// text report when Txt is on, the JSON when places name its file. In complete mode the workbook
// shows the screens' pictures when the run described the screens, and once the run is over the
// hand-over is told the procedures whose text the workbook holds cut.
ReportWriters ChosenWriters(const Options& options, const OutputPlaces& places);

// The text report's file asked for in a save dialog at the moment the report starts; fails with
// the dialog's reason when it cannot be shown, chooses none when the user cancels.
PathChooser SaveDialogChooser(FileDialog& dialog);

// A file named in advance (native); empty chooses none.
PathChooser FixedPathChooser(std::string path);

}  // namespace dovrek

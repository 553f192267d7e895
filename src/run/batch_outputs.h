#pragma once
// Where the outputs of a batch run go: the files named on the command line, or standard output
// for "-". The text report can only be written to a named file, so for "-" it is written to a
// private temporary file and copied to standard output once the run has succeeded: standard
// output then gets the very bytes a file would, and nothing of a run that failed.

#include <memory>
#include <string>

#include "model/specification_model.h"
#include "platform/batch_file_dialog.h"
#include "report/workbook_handover.h"
#include "run/command_line.h"

namespace dovrek {

class BatchOutputs {
 public:
  explicit BatchOutputs(const CommandLine& line);
  ~BatchOutputs();  // removes the temporary file of the text report
  BatchOutputs(const BatchOutputs&) = delete;
  BatchOutputs& operator=(const BatchOutputs&) = delete;

  // Prepares the outputs before the run. False with *error when the temporary file cannot be
  // made.
  bool Prepare(std::string* error);

  // The save dialog of the text report and the hand-over of the workbook, valid after Prepare.
  FileDialog& text_dialog() { return *dialog_; }
  WorkbookHandover& workbook_handover() { return *handover_; }

  // After a successful run: the text report to standard output when it goes there, then the
  // JSON model (in complete mode's shape when `complete`) when it was asked for. False with
  // *error ("path: reason") on failure.
  bool Finish(const SpecificationModel& model, bool complete, std::string* error);

 private:
  const CommandLine& line_;
  std::string staging_folder_;  // the private temporary folder, empty when none
  std::string staged_text_;     // the text report's temporary file, empty when none
  std::unique_ptr<BatchFileDialog> dialog_;
  std::unique_ptr<WorkbookHandover> handover_;
};

}  // namespace dovrek

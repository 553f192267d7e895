#pragma once
// Where the outputs of a batch run go: the files named on the command line, or standard output
// for "-". An output for "-" is written to a private temporary file and copied to standard
// output once the run has succeeded: standard output then gets the very bytes a file would,
// and nothing of a run that failed. Files are put in
// place together, when every output has been written (one OutputTransaction for the run): a
// failed run changes none of them.

#include <memory>
#include <string>

#include "app/command_line.h"
#include "model/specification_model.h"
#include "os/output_transaction.h"
#include "report/workbook_handover.h"
#include "run/report_writers.h"

namespace dovrek {

class BatchOutputs {
 public:
  explicit BatchOutputs(const CommandLine& line);
  ~BatchOutputs();  // removes the temporary files, and the outputs not put in place
  BatchOutputs(const BatchOutputs&) = delete;
  BatchOutputs& operator=(const BatchOutputs&) = delete;

  // Prepares the outputs before the run. Fails when the temporary folder cannot be made.
  Status Prepare();

  // The run's transaction: the files written in it are put in place by Finish.
  OutputTransaction& transaction() { return transaction_; }

  // Where each output goes, valid after Prepare.
  OutputPlaces Places(WarningReporter& warnings, std::string template_path);

  // After a successful run: what goes to standard output, then every finished file in place.
  // On a failure ("path: reason") every named file is as it was before the run.
  Status Finish();

 private:
  Status MakeStagingFolder();

  const CommandLine& line_;
  std::string staging_folder_;  // the private temporary folder, empty when none
  int staging_slot_ = -1;       // its entry for removal on a signal
  std::string staged_text_;     // the text report's temporary file, empty when none
  std::string text_path_;       // where the text report goes, native; empty when none
  std::unique_ptr<WorkbookHandover> handover_;
  std::string staged_workbook_;  // the workbook's temporary file, once handed over
  std::string staged_json_;      // the JSON's temporary file, empty when none
  std::string json_path_;        // where the JSON goes; empty when none
  OutputTransaction transaction_;
};

}  // namespace dovrek

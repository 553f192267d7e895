#include "app/batch_outputs.h"

#include <unistd.h>

#include "os/file_copy.h"
#include "os/interrupt_cleanup.h"
#include "app/app_messages.h"
#include "os/native_path.h"
#include "os/temporary_folder.h"

namespace dovrek {
namespace {

// The workbook for standard output, saved to a private file until the run has succeeded.
// *saved names the file once the workbook is in it.
class StandardOutputHandover : public WorkbookHandover {
 public:
  StandardOutputHandover(std::string path, std::string* saved, OutputTransaction* transaction)
      : path_(std::move(path)), saved_(saved), transaction_(transaction) {}
  Status HandOver(const WorkbookSaver& save, const std::string&) override {
    if (Status saved = save(path_, transaction_); !saved.ok()) return saved;
    *saved_ = path_;
    return Status::OK();
  }

 private:
  std::string path_;
  std::string* saved_;
  OutputTransaction* transaction_;
};

}  // namespace

BatchOutputs::BatchOutputs(const CommandLine& line) : line_(line) {}

BatchOutputs::~BatchOutputs() {
  transaction_.Abandon();  // the held outputs for standard output lie in the staging folder
  for (const std::string* staged : {&staged_text_, &staged_workbook_, &staged_json_}) {
    if (!staged->empty()) ::unlink(staged->c_str());
  }
  if (!staging_folder_.empty()) RemovePrivateFolder(staging_folder_);
  ForgetTemporaryFile(staging_slot_);
}

// The private folder for the outputs that go to standard output once the run has succeeded,
// removed with what it holds should a signal end the run.
Status BatchOutputs::MakeStagingFolder() { return MakePrivateFolder(&staging_folder_, &staging_slot_); }

Status BatchOutputs::Prepare() {
  bool text_staged = IsStandardOutput(line_.text_path);
  bool workbook_staged = IsStandardOutput(line_.workbook_path);
  bool json_staged = IsStandardOutput(line_.json_path);
  if (text_staged || workbook_staged || json_staged) {
    if (Status made = MakeStagingFolder(); !made.ok()) return made;
  }
  if (text_staged) {
    staged_text_ = staging_folder_ + "/report.txt";
    text_path_ = staged_text_;
  } else if (!line_.text_path.empty()) {
    text_path_ = MakeAbsolute(line_.text_path);
  }
  if (json_staged) staged_json_ = staging_folder_ + "/model.json";
  json_path_ = json_staged ? staged_json_ : line_.json_path;
  if (workbook_staged) {
    handover_ = std::make_unique<StandardOutputHandover>(staging_folder_ + "/workbook.xlsx",
                                                         &staged_workbook_, &transaction_);
  } else {
    handover_ = std::make_unique<SaveToFileHandover>(line_.workbook_path, &transaction_);
  }
  return Status::OK();
}

OutputPlaces BatchOutputs::Places(WarningReporter& warnings, std::string template_path) {
  return {.workbook = *handover_,
          .warnings = warnings,
          .template_path = std::move(template_path),
          .text = FixedPathChooser(text_path_),
          .text_encoding = line_.text_encoding,
          .json_path = json_path_,
          .transaction = &transaction_};
}

// The files were finished in the transaction; standard output, which cannot be taken back, goes
// first, then every file into place at once.
Status BatchOutputs::Finish() {
  for (const std::string* staged : {&staged_text_, &staged_workbook_, &staged_json_}) {
    if (staged->empty()) continue;
    if (Status copied =
            CopyFileContent(transaction_.CurrentName(*staged), STDOUT_FILENO, kStandardOutputLabel);
        !copied.ok()) {
      return copied;
    }
  }
  return transaction_.Commit();
}

}  // namespace dovrek

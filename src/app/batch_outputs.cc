#include "app/batch_outputs.h"

#include <unistd.h>

#include "os/buffered_writer.h"
#include "os/file_copy.h"
#include "os/interrupt_cleanup.h"
#include "app/app_messages.h"
#include "os/native_path.h"
#include "os/replacing_file.h"
#include "os/temporary_folder.h"
#include "report/json_dump.h"

namespace dovrek {
namespace {

// What a writer met: OK, or its first failure.
Status Flushed(BufferedWriter& out) {
  return out.Flush() ? Status::OK() : Status::IoError(out.error());
}

// Writes the model's JSON straight to standard output.
Status WriteJsonToStandardOutput(const SpecificationModel& model, bool complete) {
  BufferedWriter out(STDOUT_FILENO, kStandardOutputLabel);
  WriteModelJson(model, complete, out);
  return Flushed(out);
}

// Writes the model's JSON to a file as ReplacingFile does.
Status WriteJsonFile(const std::string& native_path, const SpecificationModel& model,
                     bool complete) {
  ReplacingFile file;
  if (Status opened = file.Open(native_path); !opened.ok()) return opened;
  WriteModelJson(model, complete, file.writer());
  return file.Commit();
}

// The workbook for standard output, saved to a private file until the run has succeeded.
// *saved names the file once the workbook is in it.
class StandardOutputHandover : public WorkbookHandover {
 public:
  StandardOutputHandover(std::string path, std::string* saved)
      : path_(std::move(path)), saved_(saved) {}
  Status HandOver(const WorkbookSaver& save, const std::string&) override {
    if (Status saved = save(path_); !saved.ok()) return saved;
    *saved_ = path_;
    return Status::OK();
  }

 private:
  std::string path_;
  std::string* saved_;
};

}  // namespace

BatchOutputs::BatchOutputs(const CommandLine& line) : line_(line) {}

BatchOutputs::~BatchOutputs() {
  held_.reset();  // the held outputs for standard output lie in the staging folder
  for (const std::string* staged : {&staged_text_, &staged_workbook_}) {
    if (!staged->empty()) ::unlink(staged->c_str());
  }
  if (!staging_folder_.empty()) RemovePrivateFolder(staging_folder_);
  ForgetTemporaryFile(staging_slot_);
}

// The private folder for the outputs that go to standard output once the run has succeeded,
// removed with what it holds should a signal end the run.
Status BatchOutputs::MakeStagingFolder() { return MakePrivateFolder(&staging_folder_, &staging_slot_); }

Status BatchOutputs::Prepare() {
  held_.emplace();
  bool text_staged = IsStandardOutput(line_.text_path);
  bool workbook_staged = IsStandardOutput(line_.workbook_path);
  if (text_staged || workbook_staged) {
    if (Status made = MakeStagingFolder(); !made.ok()) return made;
  }
  std::string text_file;
  if (text_staged) {
    staged_text_ = staging_folder_ + "/report.txt";
    text_file = staged_text_;
  } else if (!line_.text_path.empty()) {
    text_file = MakeAbsolute(line_.text_path);
  }
  dialog_ = std::make_unique<BatchFileDialog>(text_file);
  if (workbook_staged) {
    handover_ = std::make_unique<StandardOutputHandover>(staging_folder_ + "/workbook.xlsx",
                                                         &staged_workbook_);
  } else {
    handover_ = std::make_unique<SaveToFileHandover>(line_.workbook_path);
  }
  return Status::OK();
}

// Files first, held back; then standard output, which cannot be taken back; then every file
// into place at once.
Status BatchOutputs::Finish(const SpecificationModel& model, bool complete) {
  const std::string& json_path = line_.json_path;
  if (!json_path.empty() && !IsStandardOutput(json_path)) {
    if (Status written = WriteJsonFile(json_path, model, complete); !written.ok()) return written;
  }
  for (const std::string* staged : {&staged_text_, &staged_workbook_}) {
    if (staged->empty()) continue;
    if (Status copied =
            CopyFileContent(held_->CurrentName(*staged), STDOUT_FILENO, kStandardOutputLabel);
        !copied.ok()) {
      return copied;
    }
  }
  if (IsStandardOutput(json_path)) {
    if (Status written = WriteJsonToStandardOutput(model, complete); !written.ok()) return written;
  }
  return held_->Release();
}

}  // namespace dovrek

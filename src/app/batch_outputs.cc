#include "app/batch_outputs.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "platform/buffered_writer.h"
#include "platform/messages.h"
#include "platform/native_path.h"
#include "platform/replacing_file.h"
#include "platform/system_error.h"
#include "platform/temporary_folder.h"
#include "report/json_dump.h"

namespace dovrek {
namespace {

// What a writer met: OK, or its first failure.
Status Flushed(BufferedWriter& out) {
  return out.Flush() ? Status::OK() : Status::IoError(out.error());
}

// Copies a file to standard output a block at a time, so that a large output is never held
// in memory whole.
Status CopyToStandardOutput(const std::string& native_path) {
  int fd = ::open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Status::IoError(FileReadErrorMessage(native_path, errno));
  BufferedWriter out(STDOUT_FILENO, kStandardOutputLabel);
  char block[BufferedWriter::kBufferSize];
  ssize_t n = 0;
  while (out.ok() && (n = ::read(fd, block, sizeof block)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    out.Append({block, static_cast<size_t>(n)});
  }
  int read_error = n < 0 ? errno : 0;
  ::close(fd);
  if (read_error != 0) return Status::IoError(FileReadErrorMessage(native_path, read_error));
  return Flushed(out);
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
  if (!staging_folder_.empty()) ::rmdir(staging_folder_.c_str());
}

// The private folder for the outputs that go to standard output once the run has succeeded.
Status BatchOutputs::MakeStagingFolder() {
  std::string folder = TemporaryFolder() + "/dovrek-XXXXXX";
  if (!::mkdtemp(folder.data())) return Status::IoError(FileErrorMessage(folder, errno));
  staging_folder_ = folder;
  return Status::OK();
}

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
  dialog_ = std::make_unique<BatchFileDialog>(text_file.empty() ? "" : ToWindowsPath(text_file));
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
    if (Status copied = CopyToStandardOutput(held_->CurrentName(*staged)); !copied.ok()) {
      return copied;
    }
  }
  if (IsStandardOutput(json_path)) {
    if (Status written = WriteJsonToStandardOutput(model, complete); !written.ok()) return written;
  }
  return held_->Release();
}

}  // namespace dovrek

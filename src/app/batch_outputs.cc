#include "app/batch_outputs.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "platform/native_path.h"
#include "platform/replacing_file.h"
#include "platform/system_error.h"
#include "platform/temporary_folder.h"
#include "report/json_dump.h"

namespace dovrek {
namespace {

constexpr char kStandardOutput[] = "標準出力";

// Writes the bytes whole to standard output.
bool WriteStandardOutput(std::string_view bytes, std::string* error) {
  while (!bytes.empty()) {
    ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *error = FileErrorMessage(kStandardOutput, n < 0 ? errno : EIO);
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Copies a file to standard output a block at a time, so that a large report is never held
// in memory whole.
bool CopyToStandardOutput(const std::string& native_path, std::string* error) {
  int fd = ::open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = FileErrorMessage(native_path, errno);
    return false;
  }
  char block[1 << 16];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) break;
    if (n < 0) *error = FileErrorMessage(native_path, errno);
    if (n < 0 || !WriteStandardOutput({block, static_cast<size_t>(n)}, error)) {
      ok = false;
      break;
    }
  }
  ::close(fd);
  return ok;
}

// The workbook for standard output, kept until the run has succeeded.
class StandardOutputHandover : public WorkbookHandover {
 public:
  explicit StandardOutputHandover(std::string* kept) : kept_(kept) {}
  Status HandOver(const std::string& workbook, const std::string&) override {
    *kept_ = workbook;
    return Status::OK();
  }

 private:
  std::string* kept_;
};

}  // namespace

BatchOutputs::BatchOutputs(const CommandLine& line) : line_(line) {}

BatchOutputs::~BatchOutputs() {
  held_.reset();  // the held text report lies in the staging folder
  if (!staged_text_.empty()) ::unlink(staged_text_.c_str());
  if (!staging_folder_.empty()) ::rmdir(staging_folder_.c_str());
}

bool BatchOutputs::Prepare(std::string* error) {
  held_.emplace();
  std::string text_file;
  if (IsStandardOutput(line_.text_path)) {
    std::string folder = TemporaryFolder() + "/dovrek-XXXXXX";
    if (!::mkdtemp(folder.data())) {
      *error = FileErrorMessage(folder, errno);
      return false;
    }
    staging_folder_ = folder;
    staged_text_ = folder + "/report.txt";
    text_file = staged_text_;
  } else if (!line_.text_path.empty()) {
    text_file = MakeAbsolute(line_.text_path);
  }
  dialog_ = std::make_unique<BatchFileDialog>(text_file.empty() ? "" : ToWindowsPath(text_file));
  if (IsStandardOutput(line_.workbook_path)) {
    handover_ = std::make_unique<StandardOutputHandover>(&stdout_workbook_);
  } else {
    handover_ = std::make_unique<SaveToFileHandover>(line_.workbook_path);
  }
  return true;
}

// Files first, held back; then standard output, which cannot be taken back; then every file
// into place at once.
bool BatchOutputs::Finish(const SpecificationModel& model, bool complete, std::string* error) {
  const std::string& json_path = line_.json_path;
  std::string json = json_path.empty() ? "" : ModelToJson(model, complete);
  bool json_to_file = !json_path.empty() && !IsStandardOutput(json_path);
  if (json_to_file) {
    if (Status written = WriteWholeFile(json_path, json); !written.ok()) {
      *error = written.message();
      return false;
    }
  }
  if (!staged_text_.empty() && !CopyToStandardOutput(held_->CurrentName(staged_text_), error)) {
    return false;
  }
  if (!stdout_workbook_.empty() && !WriteStandardOutput(stdout_workbook_, error)) return false;
  if (IsStandardOutput(json_path) && !WriteStandardOutput(json, error)) return false;
  return held_->Release(error);
}

}  // namespace dovrek

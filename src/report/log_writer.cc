#include "report/log_writer.h"

#include "platform/native_path.h"

namespace dovrek {
namespace {
constexpr size_t kFlushSize = 64 * 1024;
}  // namespace

LogWriter::LogWriter(TextEncoding encoding) : encoding_(encoding) {}

LogWriter::~LogWriter() { (void)Close(); }

void LogWriter::SetLogFileName(const std::string& name) {
  (void)Close();  // a failure there was the caller's to learn by calling Close
  name_ = name;
}

bool LogWriter::Guarded() const { return name_.find_last_not_of(' ') == std::string::npos; }

Status LogWriter::Clear() {
  if (Guarded()) return Status::OK();
  Abandon();
  return Open(/*append=*/false);
}

Status LogWriter::WriteLine(std::initializer_list<std::string_view> pieces) {
  if (Guarded()) return Status::OK();
  if (!file_.is_open()) {
    if (Status opened = Open(/*append=*/true); !opened.ok()) return opened;
  }
  // Lines wait as UTF-8 and are encoded a buffer at a time, which costs one converter set-up
  // per buffer instead of one per line. The bytes are the same as line by line: every
  // character is encoded on its own and CR LF stays CR LF.
  for (std::string_view piece : pieces) buffer_ += piece;
  buffer_ += "\r\n";
  return buffer_.size() < kFlushSize ? Status::OK() : Flush();
}

Status LogWriter::Close() {
  if (!file_.is_open()) return Status::OK();
  if (Status flushed = Flush(); !flushed.ok()) return flushed;
  return AbandonOnFailure(file_.Commit());
}

// After Clear the file replaces the named one only when complete; without it lines are
// appended in place.
Status LogWriter::Open(bool append) {
  std::string native = ToNativePath(name_);
  return AbandonOnFailure(append ? file_.OpenForAppend(native) : file_.Open(native));
}

Status LogWriter::Flush() {
  encoded_.clear();
  AppendEncodedText(buffer_, encoding_, &encoded_);
  Status written = file_.Write(encoded_);
  buffer_.clear();
  return AbandonOnFailure(std::move(written));
}

// Passes the status on; a failure abandons the file and the lines not yet written.
Status LogWriter::AbandonOnFailure(Status status) {
  if (!status.ok()) Abandon();
  return status;
}

void LogWriter::Abandon() {
  file_.Abandon();
  buffer_.clear();
}

}  // namespace dovrek

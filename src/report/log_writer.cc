#include "report/log_writer.h"

#include "platform/native_path.h"

namespace dovrek {
namespace {
constexpr size_t kFlushSize = 64 * 1024;
}  // namespace

LogWriter::LogWriter(TextEncoding encoding) : encoding_(encoding) {}

LogWriter::~LogWriter() { Close(); }

void LogWriter::SetLogFileName(const std::string& name) {
  Close();
  name_ = name;
  error_.clear();
}

bool LogWriter::Guarded() const { return name_.find_last_not_of(' ') == std::string::npos; }

bool LogWriter::Clear() {
  if (Guarded()) return true;
  Abandon();
  error_.clear();
  return Open(/*append=*/false);
}

bool LogWriter::WriteLine(const std::string& line) {
  if (Guarded()) return true;
  if (!ok()) return false;
  if (!file_.is_open() && !Open(/*append=*/true)) return false;
  // Lines wait as UTF-8 and are encoded a buffer at a time, which costs one converter set-up
  // per buffer instead of one per line. The bytes are the same as line by line: every
  // character is encoded on its own and CR LF stays CR LF.
  buffer_ += line;
  buffer_ += "\r\n";
  return buffer_.size() < kFlushSize || Flush();
}

bool LogWriter::Close() {
  if (!file_.is_open()) return ok();
  std::string error;
  if (!Flush()) return false;
  if (!file_.Commit(&error)) return Fail(error);
  return true;
}

// After Clear the file replaces the named one only when complete; without it lines are
// appended in place.
bool LogWriter::Open(bool append) {
  std::string native = ToNativePath(name_);
  std::string error;
  bool opened = append ? file_.OpenForAppend(native, &error) : file_.Open(native, &error);
  return opened || Fail(error);
}

bool LogWriter::Flush() {
  std::string error;
  bool written = file_.Write(EncodeText(buffer_, encoding_), &error);
  buffer_.clear();
  return written || Fail(error);
}

bool LogWriter::Fail(const std::string& error) {
  if (error_.empty()) error_ = error;
  Abandon();
  return false;
}

void LogWriter::Abandon() {
  file_.Abandon();
  buffer_.clear();
}

}  // namespace dovrek

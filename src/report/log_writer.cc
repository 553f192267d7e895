#include "report/log_writer.h"

#include <future>
#include <system_error>

#include "codepage/text_codec.h"

namespace dovrek {
namespace {
constexpr size_t kFlushSize = 1 << 20;
// Lines at least this long are encoded in two halves at once: encoding is most of the work of
// writing a large report.
constexpr size_t kSplitFrom = 256 * 1024;

// Where `text` may be cut in two near its middle: at the start of a character (a byte that
// does not continue a UTF-8 sequence), so that each half encodes as it would within the whole.
size_t MiddleCut(std::string_view text) {
  size_t cut = text.size() / 2;
  while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) ++cut;
  return cut;
}
}  // namespace

LogWriter::LogWriter(Encoding encoding, OutputTransaction* transaction)
    : encoding_(encoding), file_(transaction) {}

LogWriter::~LogWriter() { (void)Close(); }

void LogWriter::SetLogFileName(const std::string& name) {
  (void)Close();  // a failure there was the caller's to learn by calling Close
  name_ = name;
}

bool LogWriter::Guarded() const { return name_.find_last_not_of(' ') == std::string::npos; }

Status LogWriter::Clear() {
  if (Guarded()) return Status::OK();
  Abandon();
  return Open();
}

Status LogWriter::WriteLine(std::initializer_list<std::string_view> pieces) {
  if (Guarded()) return Status::OK();
  if (!file_.is_open()) {
    if (Status opened = Open(); !opened.ok()) return opened;
  }
  // Lines wait as UTF-8 and are encoded a buffer at a time, a long one on two threads (see
  // Flush). The bytes are the same as line by line: every character is encoded on its own and
  // CR LF stays CR LF.
  for (std::string_view piece : pieces) buffer_ += piece;
  buffer_ += "\r\n";
  return buffer_.size() < kFlushSize ? Status::OK() : Flush();
}

Status LogWriter::Close() {
  if (!file_.is_open()) return Status::OK();
  if (Status flushed = Flush(); !flushed.ok()) return flushed;
  return AbandonOnFailure(file_.Commit());
}

// The file replaces the named one only when complete.
Status LogWriter::Open() { return AbandonOnFailure(file_.Open(name_)); }

Status LogWriter::Flush() {
  encoded_.clear();
  std::string_view lines = buffer_;
  std::string_view first =
      lines.substr(0, lines.size() < kSplitFrom ? lines.size() : MiddleCut(lines));
  std::string_view second = lines.substr(first.size());
  std::future<void> other;
  if (!second.empty()) {
    second_encoded_.clear();
    try {
      other = std::async(std::launch::async,
                         [&] { AppendEncodedText(second, encoding_, &second_encoded_); });
    } catch (const std::system_error&) {
      AppendEncodedText(second, encoding_, &second_encoded_);  // no thread: one after the other
    }
  }
  AppendEncodedText(first, encoding_, &encoded_);
  if (other.valid()) other.get();
  Status written = file_.Write(encoded_);
  if (written.ok() && !second.empty()) written = file_.Write(second_encoded_);
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

#include "platform/buffered_writer.h"

#include <unistd.h>

#include <cerrno>

#include "platform/system_error.h"

namespace dovrek {

BufferedWriter::BufferedWriter(int fd, std::string name)
    : buffer_(new char[kBufferSize]), fd_(fd), name_(std::move(name)) {}

BufferedWriter::BufferedWriter(std::string* bytes)
    : buffer_(new char[kBufferSize]), bytes_(bytes) {}

BufferedWriter::~BufferedWriter() = default;

void BufferedWriter::AppendLarge(std::string_view bytes) {
  Drain();
  if (bytes.size() < kBufferSize) {
    Append(bytes);
  } else {
    WriteOut(bytes);
  }
}

void BufferedWriter::Drain() {
  WriteOut({buffer_.get(), used_});
  used_ = 0;
}

bool BufferedWriter::Flush() {
  Drain();
  return ok();
}

void BufferedWriter::WriteOut(std::string_view bytes) {
  if (!ok()) return;
  if (bytes_) {
    bytes_->append(bytes);
    return;
  }
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_number_ = n < 0 ? errno : EIO;
      return;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

std::string BufferedWriter::error() const {
  return ok() ? std::string() : FileErrorMessage(name_, error_number_);
}

}  // namespace dovrek

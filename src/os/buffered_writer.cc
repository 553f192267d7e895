#include "os/buffered_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "os/system_error.h"

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
    not_written_back_ += static_cast<size_t>(n);
  }
  if (write_back_step_ != 0 && not_written_back_ >= write_back_step_) {
    not_written_back_ = 0;
    // Only a request: where the kernel cannot, the final fsync does all the work as before.
    (void)::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
  }
}

std::string BufferedWriter::error() const {
  return ok() ? std::string() : FileErrorMessage(name_, error_number_);
}

}  // namespace dovrek

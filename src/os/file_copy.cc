#include "os/file_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "os/buffered_writer.h"
#include "os/system_error.h"

namespace dovrek {

Status CopyFileContent(const std::string& from, int to_fd, const std::string& to_name) {
  int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Status::IoError(FileReadErrorMessage(from, errno));
  BufferedWriter out(to_fd, to_name);
  char block[BufferedWriter::kBufferSize];
  ssize_t n = 0;
  while (out.ok() && (n = ::read(fd, block, sizeof block)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    out.Append({block, static_cast<size_t>(n)});
  }
  int read_error = n < 0 ? errno : 0;
  ::close(fd);
  if (read_error != 0) return Status::IoError(FileReadErrorMessage(from, read_error));
  return out.Flush() ? Status::OK() : Status::IoError(out.error());
}

}  // namespace dovrek

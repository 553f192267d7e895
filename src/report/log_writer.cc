#include "report/log_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/native_path.h"
#include "platform/system_error.h"

namespace dovrek {
namespace {

constexpr size_t kFlushSize = 64 * 1024;

// The name of a temporary file beside `target`, unique within this process.
std::string TemporaryName(const std::string& target, unsigned attempt) {
  static unsigned counter = 0;
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "/." + base + ".dovrek-" + std::to_string(::getpid()) + "-" +
         std::to_string(counter++) + "-" + std::to_string(attempt) + ".tmp";
}

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
  return Open(/*truncate=*/true);
}

bool LogWriter::LogMsg(const std::string& vstrMsg) {
  if (Guarded()) return true;
  if (!ok()) return false;
  if (fd_ < 0 && !Open(/*truncate=*/false)) return false;
  // Lines wait as UTF-8 and are encoded a buffer at a time, which costs one converter set-up
  // per buffer instead of one per line. The bytes are the same as line by line: every
  // character is encoded on its own and CR LF stays CR LF.
  buffer_ += vstrMsg;
  buffer_ += "\r\n";
  return buffer_.size() < kFlushSize || Flush();
}

bool LogWriter::Close() {
  if (fd_ < 0) return ok();
  if (!Flush()) return false;
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    Fail(target_, errno);
    Abandon();
    return false;
  }
  if (!temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Fail(target_, errno);
    Abandon();
    return false;
  }
  temporary_.clear();
  target_.clear();
  return true;
}

bool LogWriter::Open(bool truncate) {
  std::string target = ToNativePath(name_);
  if (truncate && OpenTemporary(target)) return true;
  return OpenInPlace(target, truncate);
}

// Succeeds only for a name that does not exist or names a writable regular file; anything
// else is left to OpenInPlace, which also reports the reason when the file cannot be written.
bool LogWriter::OpenTemporary(const std::string& target) {
  struct stat st;
  bool exists = ::lstat(target.c_str(), &st) == 0;
  if (exists) {
    if (!S_ISREG(st.st_mode)) return false;
    // Renaming over a file the user may not write would bypass its protection.
    int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (probe < 0) return false;
    ::close(probe);
  } else if (errno != ENOENT) {
    return false;
  }
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    std::string name = TemporaryName(target, attempt);
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    if (exists) ::fchmod(fd, st.st_mode & 07777);  // the replaced file's permissions live on
    fd_ = fd;
    target_ = target;
    temporary_ = name;
    return true;
  }
  return false;
}

bool LogWriter::OpenInPlace(const std::string& target, bool truncate) {
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND);
  int fd = ::open(target.c_str(), flags, 0666);
  if (fd < 0) return Fail(target, errno);
  fd_ = fd;
  target_ = target;
  temporary_.clear();
  return true;
}

bool LogWriter::Flush() {
  const std::string bytes = EncodeText(buffer_, encoding_);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Fail(target_, n < 0 ? errno : EIO);
      Abandon();
      return false;
    }
    done += static_cast<size_t>(n);
  }
  buffer_.clear();
  return true;
}

bool LogWriter::Fail(const std::string& path, int error) {
  if (error_.empty()) error_ = FileErrorMessage(path, error);
  return false;
}

void LogWriter::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  fd_ = -1;
  temporary_.clear();
  target_.clear();
  buffer_.clear();
}

}  // namespace dovrek

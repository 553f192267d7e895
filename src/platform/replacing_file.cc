#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/system_error.h"

namespace dovrek {
namespace {

constexpr size_t kFlushSize = 1 << 16;

// The path with symbolic links resolved; the path itself when it does not exist (yet).
std::string ResolveTarget(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
      ::realpath(path.c_str(), resolved)) {
    return resolved;
  }
  return path;
}

// The folder of a path, without a trailing "/": "." for a bare name, "/" for the root.
std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t CurrentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

ReplacingFile::~ReplacingFile() { Abandon(); }

bool ReplacingFile::Fail(int error_number, std::string* error) {
  // A file missing because its folder is missing: the folder is what the user has to mend.
  std::string folder = FolderOf(target_);
  struct stat st;
  if (error_number == ENOENT && ::stat(folder.c_str(), &st) != 0 && errno == ENOENT) {
    *error = MissingFolderMessage(folder);
  } else {
    *error = FileErrorMessage(path_, error_number);
  }
  Abandon();
  return false;
}

bool ReplacingFile::Open(const std::string& native_path, std::string* error) {
  Abandon();
  path_ = native_path;
  target_ = ResolveTarget(native_path);
  struct stat st;
  bool exists = ::stat(target_.c_str(), &st) == 0;
  struct stat link;
  if (!exists && ::lstat(native_path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    // A link to a file that does not exist yet: opening through the link creates the file it
    // names, where renaming would replace the link itself.
    return OpenInPlace(O_CREAT | O_TRUNC, error);
  }
  if (exists && S_ISDIR(st.st_mode)) return Fail(EISDIR, error);
  if (exists && !S_ISREG(st.st_mode)) return OpenInPlace(O_TRUNC, error);
  // Renaming over a file the user may not write would get round its protection.
  if (exists && ::access(target_.c_str(), W_OK) != 0) return Fail(errno, error);
  size_t slash = target_.rfind('/');
  std::string folder = slash == std::string::npos ? "." : target_.substr(0, slash + 1);
  if (slash == std::string::npos) folder += "/";
  temporary_ = folder + ".dovrek-XXXXXX";
  fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    int saved = errno;
    temporary_.clear();
    return Fail(saved, error);
  }
  ::fchmod(fd_, exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask()));
  return true;
}

bool ReplacingFile::OpenForAppend(const std::string& native_path, std::string* error) {
  Abandon();
  path_ = native_path;
  target_ = native_path;
  return OpenInPlace(O_APPEND | O_CREAT, error);
}

bool ReplacingFile::OpenInPlace(int flags, std::string* error) {
  // Non-blocking only while opening, so that a FIFO without a reader fails instead of waiting.
  fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | flags, 0666);
  if (fd_ < 0) return Fail(errno, error);
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  return true;
}

bool ReplacingFile::Write(std::string_view bytes, std::string* error) {
  if (fd_ < 0) return Fail(EBADF, error);
  buffer_.append(bytes);
  return buffer_.size() < kFlushSize || Flush(error);
}

bool ReplacingFile::Flush(std::string* error) {
  size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : EIO, error);
    done += static_cast<size_t>(n);
  }
  buffer_.clear();
  return true;
}

bool ReplacingFile::Commit(std::string* error) {
  if (fd_ < 0) return Fail(EBADF, error);
  if (!Flush(error)) return false;
  if (!temporary_.empty() && ::fsync(fd_) != 0) return Fail(errno, error);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Fail(errno, error);
  if (!temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    return Fail(errno, error);
  }
  temporary_.clear();
  return true;
}

void ReplacingFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
}

bool WriteWholeFile(const std::string& native_path, std::string_view bytes, std::string* error) {
  ReplacingFile file;
  return file.Open(native_path, error) && file.Write(bytes, error) && file.Commit(error);
}

}  // namespace dovrek

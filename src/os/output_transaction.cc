#include "os/output_transaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os/file_copy.h"
#include "os/interrupt_cleanup.h"
#include "os/resolved_path.h"
#include "os/system_error.h"

namespace dovrek {
namespace {

// The errno a rename of `temporary` over `target` would surely fail with, 0 when none is seen:
// a folder at the target's name, a folder that is gone, a temporary file that is gone.
int RenameObstacle(const std::string& temporary, const std::string& target) {
  struct stat st;
  if (::lstat(temporary.c_str(), &st) != 0) return errno;
  if (::lstat(target.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (errno != ENOENT) return errno;
  std::string folder = NativeFolderOf(target);
  if (::stat(folder.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

// Rewrites `target` with the content of `temporary`, keeping the file itself (its owner, its
// group, its permission bits and its links).
Status CopyInPlace(const std::string& temporary, const std::string& target,
                   const std::string& path) {
  int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return Status::IoError(FileErrorMessage(path, errno));
  Status copied = CopyFileContent(temporary, fd, path);
  int synced = copied.ok() && ::fsync(fd) != 0 ? errno : 0;
  int closed = ::close(fd) != 0 ? errno : 0;
  if (!copied.ok()) return copied;
  if (synced != 0 || closed != 0)
    return Status::IoError(FileErrorMessage(path, synced ? synced : closed));
  return Status::OK();
}

}  // namespace

OutputTransaction::~OutputTransaction() { Abandon(); }

void OutputTransaction::Hold(std::string temporary, std::string target, std::string path,
                             int cleanup_slot, bool in_place) {
  held_.push_back(
      {std::move(temporary), std::move(target), std::move(path), cleanup_slot, in_place});
}

std::string OutputTransaction::CurrentName(const std::string& target) const {
  // Held files are known by their targets with every link resolved.
  Status ignored;
  std::string resolved = ResolvePath(target, &ignored).value_or(target);
  for (const Held& file : held_) {
    if (file.target == resolved) return file.temporary;
  }
  return target;
}

Status OutputTransaction::Commit() {
  Status failed;
  for (const Held& file : held_) {
    int obstacle = file.in_place ? 0 : RenameObstacle(file.temporary, file.target);
    if (obstacle != 0) failed = Status::IoError(FileErrorMessage(file.path, obstacle));
    if (!failed.ok()) break;
  }
  for (const Held& file : held_) {
    if (failed.ok() && file.in_place) failed = CopyInPlace(file.temporary, file.target, file.path);
  }
  for (size_t i = 0; failed.ok() && i < held_.size(); ++i) {
    Held& file = held_[i];
    if (file.in_place) continue;
    if (::rename(file.temporary.c_str(), file.target.c_str()) != 0) {
      failed = Status::IoError(FileErrorMessage(file.path, errno));
      break;
    }
    ForgetTemporaryFile(file.cleanup_slot);
    file.cleanup_slot = -1;
    file.temporary.clear();
  }
  Abandon();
  return failed;
}

void OutputTransaction::Abandon() {
  for (const Held& file : held_) {
    ForgetTemporaryFile(file.cleanup_slot);
    if (!file.temporary.empty()) ::unlink(file.temporary.c_str());
  }
  held_.clear();
}

}  // namespace dovrek

#include "os/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "os/held_renames.h"
#include "os/interrupt_cleanup.h"
#include "os/resolved_path.h"
#include "os/system_error.h"
#include "os/temporary_folder.h"

namespace dovrek {
namespace {

mode_t CurrentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// Gives the new file what the replaced one had: its owner and group as far as the caller may
// set them (only root may give a file away; a member of the group may still set that), then its
// permission bits, which a change of owner may have cleared. When the group cannot be kept, its
// bits are dropped: they were meant for the old group, not for the one the file now has.
void TakeOverOwnership(int fd, const struct stat& old) {
  mode_t mode = old.st_mode & 07777;
  if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    mode &= ~static_cast<mode_t>(S_ISGID | S_IRWXG);
  }
  ::fchmod(fd, mode);
}

// How much of a large output is written before the kernel is asked to write it to disk.
constexpr size_t kWriteBackStep = 1 << 20;

bool IsRegular(int fd) {
  struct stat st;
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

ReplacingFile::~ReplacingFile() { Abandon(); }

Status ReplacingFile::Fail(int error_number) {
  // A file missing because its folder is missing: the folder is what the user has to mend,
  // named as the user wrote it unless only the folder a link leads to is missing.
  std::string folder;
  for (const std::string* path : {&path_, &target_}) {
    struct stat st;
    std::string candidate = NativeFolderOf(*path);
    if (error_number == ENOENT && folder.empty() && ::stat(candidate.c_str(), &st) != 0 &&
        errno == ENOENT) {
      folder = std::move(candidate);
    }
  }
  Abandon();
  return Status::IoError(!folder.empty() ? MissingFolderMessage(folder)
                                         : FileErrorMessage(path_, error_number));
}

Status ReplacingFile::Open(const std::string& native_path) {
  Abandon();
  path_ = native_path;
  Status refused;
  std::optional<std::string> resolved = ResolvePath(native_path, &refused);
  if (!resolved) return refused;
  // No link is left in the target: a link to a file that does not exist yet gets that file.
  target_ = *resolved;
  struct stat st;
  bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return Fail(EISDIR);
  if (exists && !S_ISREG(st.st_mode)) return OpenInPlace(O_TRUNC);
  // Renaming over a file the user may not write would get round its protection.
  if (exists && ::access(target_.c_str(), W_OK) != 0) return Fail(errno);
  if (OpenTemporary(exists ? &st : nullptr)) return Status::OK();
  int saved = errno;
  // A folder that takes no new file may still hold a file the user may write: that is then
  // rewritten in place, which gives up keeping the old content should the write fail. Where
  // the run puts its outputs in place together, the content waits in a private file until then.
  if (exists && (saved == EACCES || saved == EPERM)) {
    return HeldRenames::Current() ? OpenForLaterInPlace() : OpenInPlace(O_TRUNC);
  }
  return Fail(saved);
}

// Writes to a private temporary file that the thread's HeldRenames copies into the target once
// every other output is ready.
Status ReplacingFile::OpenForLaterInPlace() {
  temporary_ = TemporaryFolder() + "/.dovrek-XXXXXX";
  fd_ = CreateTemporaryFile(&temporary_, &cleanup_slot_);
  if (fd_ < 0) {
    int saved = errno;
    temporary_.clear();
    return Status::IoError(FileErrorMessage(TemporaryFolder(), saved));
  }
  in_place_later_ = true;
  StartWriting();
  return Status::OK();
}

// Creates the temporary file beside the target with the old file's owner and mode, or the
// mode a new file gets. Leaves errno set on failure.
bool ReplacingFile::OpenTemporary(const struct stat* old) {
  temporary_ = NativeFolderOf(target_) + "/.dovrek-XXXXXX";
  fd_ = CreateTemporaryFile(&temporary_, &cleanup_slot_);
  if (fd_ < 0) {
    temporary_.clear();
    return false;
  }
  if (old) {
    TakeOverOwnership(fd_, *old);
  } else {
    ::fchmod(fd_, 0666 & ~CurrentUmask());
  }
  StartWriting();
  return true;
}

Status ReplacingFile::OpenInPlace(int flags) {
  // Non-blocking only while opening, so that a FIFO without a reader fails instead of waiting.
  fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | flags, 0666);
  if (fd_ < 0) return Fail(errno);
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  StartWriting();
  return Status::OK();
}

void ReplacingFile::StartWriting() {
  writer_ = std::make_unique<BufferedWriter>(fd_, path_);
  if (IsRegular(fd_)) writer_->StartWriteBackEvery(kWriteBackStep);
}

Status ReplacingFile::Write(std::string_view bytes) {
  if (fd_ < 0) return Fail(EBADF);
  writer_->Append(bytes);
  return writer_->ok() ? Status::OK() : Fail(writer_->error_number());
}

Status ReplacingFile::Flush() {
  return writer_->Flush() ? Status::OK() : Fail(writer_->error_number());
}

Status ReplacingFile::Commit() {
  if (fd_ < 0) return Fail(EBADF);
  if (Status flushed = Flush(); !flushed.ok()) return flushed;
  // Devices and pipes have nothing to make durable (and /dev/null refuses fsync).
  if (IsRegular(fd_) && ::fsync(fd_) != 0) return Fail(errno);
  writer_.reset();
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Fail(errno);
  if (!temporary_.empty() && HeldRenames::Current()) {
    // The run puts its outputs in place together; the hold now owns the temporary file.
    HeldRenames::Current()->Hold(temporary_, target_, path_, cleanup_slot_, in_place_later_);
  } else {
    if (!temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
      return Fail(errno);
    }
    ForgetTemporaryFile(cleanup_slot_);
  }
  cleanup_slot_ = -1;
  temporary_.clear();
  in_place_later_ = false;
  return Status::OK();
}

void ReplacingFile::Abandon() {
  writer_.reset();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ForgetTemporaryFile(cleanup_slot_);
  cleanup_slot_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  in_place_later_ = false;
}

Status WriteWholeFile(const std::string& native_path, std::string_view bytes) {
  ReplacingFile file;
  if (Status opened = file.Open(native_path); !opened.ok()) return opened;
  if (Status written = file.Write(bytes); !written.ok()) return written;
  return file.Commit();
}

}  // namespace dovrek

#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

#include "platform/held_renames.h"
#include "platform/interrupt_cleanup.h"
#include "platform/messages.h"
#include "platform/system_error.h"

namespace dovrek {
namespace {

constexpr int kLinkLimit = 40;  // the kernel's limit on links in one lookup

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The kernel's rule for links in shared folders (protected_symlinks): in a sticky folder that
// everyone may write, a link is followed only when it belongs to the caller or to the folder's
// owner, since anyone else may have planted it to redirect the write.
bool MayFollow(const std::string& link_path, const struct stat& link) {
  struct stat folder;
  if (::stat(FolderOf(link_path).c_str(), &folder) != 0) return true;
  bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// Follows the links of the last component one by one, the way the kernel would, and answers
// the path they end at (the path itself when it is no link or does not exist). The folders on
// the way are left to the kernel, which applies its own rule when the file is opened. Answers
// nullopt and sets *failure when a link may not be followed or they loop.
std::optional<std::string> ResolveTarget(const std::string& path, Status* failure) {
  std::string current = path;
  for (int hops = 0; hops < kLinkLimit; ++hops) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    if (!MayFollow(current, st)) {
      std::string message = FileMessage(path, kForeignSharedLink);
      if (current != path) message += "(" + current + ")";
      *failure = Status::IoError(std::move(message));
      return std::nullopt;
    }
    char target[PATH_MAX];
    ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
    if (length < 0) return current;
    std::string next(target, static_cast<size_t>(length));
    current = !next.empty() && next.front() == '/' ? next : FolderOf(current) + "/" + next;
  }
  *failure = Status::IoError(FileErrorMessage(path, ELOOP));
  return std::nullopt;
}

mode_t CurrentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// Gives the new file what the replaced one had: its owner and group as far as the caller may
// set them (only root may give a file away; a member may still set the group), then its
// permission bits, which a change of owner may have cleared.
void TakeOverOwnership(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  ::fchmod(fd, old.st_mode & 07777);
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
  // A file missing because its folder is missing: the folder is what the user has to mend.
  std::string folder = FolderOf(target_);
  struct stat st;
  bool folder_missing =
      error_number == ENOENT && ::stat(folder.c_str(), &st) != 0 && errno == ENOENT;
  Abandon();
  return Status::IoError(folder_missing ? MissingFolderMessage(folder)
                                        : FileErrorMessage(path_, error_number));
}

Status ReplacingFile::Open(const std::string& native_path) {
  Abandon();
  path_ = native_path;
  Status refused;
  std::optional<std::string> resolved = ResolveTarget(native_path, &refused);
  if (!resolved) return refused;
  target_ = *resolved;
  struct stat st;
  bool exists = ::stat(target_.c_str(), &st) == 0;
  if (!exists && target_ != native_path) {
    // A link to a file that does not exist yet: opening creates the file it names, where
    // renaming would replace the link itself.
    return OpenInPlace(O_CREAT | O_TRUNC);
  }
  if (exists && S_ISDIR(st.st_mode)) return Fail(EISDIR);
  if (exists && !S_ISREG(st.st_mode)) return OpenInPlace(O_TRUNC);
  // Renaming over a file the user may not write would get round its protection.
  if (exists && ::access(target_.c_str(), W_OK) != 0) return Fail(errno);
  if (OpenTemporary(exists ? &st : nullptr)) return Status::OK();
  int saved = errno;
  // A folder that takes no new file may still hold a file the user may write: that is then
  // rewritten in place, which gives up keeping the old content should the write fail.
  if (exists && (saved == EACCES || saved == EPERM)) return OpenInPlace(O_TRUNC);
  return Fail(saved);
}

// Creates the temporary file beside the target with the old file's owner and mode, or the
// mode a new file gets. Leaves errno set on failure.
bool ReplacingFile::OpenTemporary(const struct stat* old) {
  temporary_ = FolderOf(target_) + "/.dovrek-XXXXXX";
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

Status ReplacingFile::OpenForAppend(const std::string& native_path) {
  Abandon();
  path_ = native_path;
  target_ = native_path;
  return OpenInPlace(O_APPEND | O_CREAT);
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
    HeldRenames::Current()->Hold(temporary_, target_, path_, cleanup_slot_);
  } else {
    if (!temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
      return Fail(errno);
    }
    ForgetTemporaryFile(cleanup_slot_);
  }
  cleanup_slot_ = -1;
  temporary_.clear();
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
}

Status WriteWholeFile(const std::string& native_path, std::string_view bytes) {
  ReplacingFile file;
  if (Status opened = file.Open(native_path); !opened.ok()) return opened;
  if (Status written = file.Write(bytes); !written.ok()) return written;
  return file.Commit();
}

}  // namespace dovrek

#include "os/temporary_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "os/interrupt_cleanup.h"
#include "os/system_error.h"

namespace dovrek {
namespace {

constexpr char kPrivatePrefix[] = "dovrek-";
constexpr size_t kUniqueLength = 6;  // the "XXXXXX" mkdtemp fills in
constexpr time_t kStaleSeconds = 24 * 60 * 60;
constexpr int kDeepestRemoval = 16;  // a handed-over folder holds a file or two, no tree

bool IsPrivateFolderName(std::string_view name) {
  const std::string_view prefix = kPrivatePrefix;
  return name.size() == prefix.size() + kUniqueLength && name.substr(0, prefix.size()) == prefix;
}

// The entry `name` of the open folder `folder_fd` belongs to this user and is of the kind
// `type` (S_IFDIR, S_IFREG), a link never counting as what it leads to.
bool IsOwn(int folder_fd, const char* name, mode_t type, struct stat* st) {
  return ::fstatat(folder_fd, name, st, AT_SYMLINK_NOFOLLOW) == 0 &&
         (st->st_mode & S_IFMT) == type && st->st_uid == ::geteuid();
}

// A folder this program made (its marker inside, the user's own) unchanged for over a day.
bool IsStalePrivateFolder(int parent_fd, const char* name, time_t now) {
  struct stat st;
  if (!IsOwn(parent_fd, name, S_IFDIR, &st) || now - st.st_mtime <= kStaleSeconds) return false;
  int fd = ::openat(parent_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  bool marked = IsOwn(fd, kPrivateFolderMarker, S_IFREG, &st);
  ::close(fd);
  return marked;
}

// Removes the entry `name` of the open folder `parent_fd` with everything below it, through
// folder descriptors opened without following links, so that a link put anywhere on the way
// is removed itself and what it leads to is never reached.
void RemoveTreeAt(int parent_fd, const char* name, int depth) {
  if (::unlinkat(parent_fd, name, 0) == 0 || depth > kDeepestRemoval) return;
  int fd = ::openat(parent_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return;
  }
  while (struct dirent* entry = ::readdir(dir)) {
    std::string_view child = entry->d_name;
    if (child != "." && child != "..") RemoveTreeAt(::dirfd(dir), entry->d_name, depth + 1);
  }
  ::closedir(dir);
  ::unlinkat(parent_fd, name, AT_REMOVEDIR);
}

}  // namespace

std::string TemporaryFolder() {
  const char* named = std::getenv("TMPDIR");
  struct stat st;
  if (named && *named && ::stat(named, &st) == 0 && S_ISDIR(st.st_mode)) return named;
  return "/tmp";
}

Status MakePrivateFolder(std::string* folder, int* slot) {
  std::string made = TemporaryFolder() + "/" + kPrivatePrefix + "XXXXXX";
  const bool created = slot ? CreateTemporaryFolder(&made, slot) : ::mkdtemp(made.data()) != nullptr;
  if (!created) return Status::IoError(FileErrorMessage(made, errno));
  std::string marker = made + "/" + kPrivateFolderMarker;
  int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    int saved = errno;
    ::rmdir(made.c_str());
    if (slot) ForgetTemporaryFile(*slot);
    return Status::IoError(FileErrorMessage(marker, saved));
  }
  ::close(fd);
  *folder = std::move(made);
  return Status::OK();
}

void RemovePrivateFolder(const std::string& folder) {
  ::unlink((folder + "/" + kPrivateFolderMarker).c_str());
  ::rmdir(folder.c_str());
}

void RemoveStalePrivateFolders() {
  int fd = ::open(TemporaryFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return;
  }
  const time_t now = std::time(nullptr);
  while (struct dirent* entry = ::readdir(dir)) {
    if (IsPrivateFolderName(entry->d_name) &&
        IsStalePrivateFolder(::dirfd(dir), entry->d_name, now)) {
      RemoveTreeAt(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

}  // namespace dovrek

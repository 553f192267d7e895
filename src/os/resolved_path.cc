#include "os/resolved_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <deque>
#include <string_view>

#include "os/os_messages.h"
#include "texts/failure_messages.h"
#include "os/native_path.h"
#include "os/system_error.h"

namespace dovrek {
namespace {

constexpr int kLinkLimit = 40;  // the kernel's limit on links in one lookup

// Puts the components of `path` in front of those still to walk, in their order.
void PushComponents(std::string_view path, std::deque<std::string>* pending) {
  std::deque<std::string> components;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string_view::npos) slash = path.size();
    if (slash > pos) components.emplace_back(path.substr(pos, slash - pos));
    pos = slash + 1;
  }
  pending->insert(pending->begin(), components.begin(), components.end());
}

// In a sticky folder that everyone may write, only the caller's links and the folder owner's.
bool MayFollow(const std::string& folder, const struct stat& link) {
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0) return true;
  bool shared = (st.st_mode & S_ISVTX) && (st.st_mode & S_IWOTH);
  return !shared || link.st_uid == ::geteuid() || link.st_uid == st.st_uid;
}

bool IsProcessLink(const std::string& path) { return path.rfind("/proc/", 0) == 0; }

}  // namespace

std::string NativeFolderOf(const std::string& native_path) {
  size_t slash = native_path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : native_path.substr(0, slash);
}

std::optional<std::string> ResolvePath(const std::string& native_path, Status* failure) {
  std::deque<std::string> pending;
  PushComponents(MakeAbsolute(native_path), &pending);
  std::string resolved;  // "" stands for the root
  for (int hops = 0; !pending.empty();) {
    std::string name = std::move(pending.front());
    pending.pop_front();
    if (name == ".") continue;
    if (name == "..") {
      resolved.resize(resolved.empty() ? 0 : resolved.rfind('/'));
      continue;
    }
    std::string candidate = resolved + "/" + name;
    struct stat st;
    if (::lstat(candidate.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      resolved = std::move(candidate);
      continue;
    }
    if (!MayFollow(resolved.empty() ? "/" : resolved, st)) {
      std::string message = FileMessage(native_path, kForeignSharedLink);
      if (candidate != native_path) message += "(" + candidate + ")";
      *failure = Status::IoError(std::move(message));
      return std::nullopt;
    }
    if (++hops > kLinkLimit) {
      *failure = Status::IoError(FileErrorMessage(native_path, ELOOP));
      return std::nullopt;
    }
    char target[PATH_MAX];
    ssize_t length = ::readlink(candidate.c_str(), target, sizeof target);
    std::string_view content(target, length < 0 ? 0 : static_cast<size_t>(length));
    if (content.empty() || (content.front() != '/' && IsProcessLink(candidate))) {
      resolved = std::move(candidate);
      continue;
    }
    if (content.front() == '/') resolved.clear();
    PushComponents(content, &pending);
  }
  return resolved.empty() ? "/" : resolved;
}

}  // namespace dovrek

#include "platform/temporary_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace dovrek {
namespace {

constexpr char kPrivatePrefix[] = "dovrek-";
constexpr size_t kUniqueLength = 6;  // the "XXXXXX" mkdtemp fills in
constexpr time_t kStaleSeconds = 24 * 60 * 60;

bool IsPrivateFolderName(const std::string& name) {
  const std::string prefix = kPrivatePrefix;
  return name.size() == prefix.size() + kUniqueLength && name.rfind(prefix, 0) == 0;
}

// A folder of this user's (a real folder, not a link to one) unchanged for more than a day.
bool IsStale(const std::string& path, time_t now) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
    return false;
  }
  return now - st.st_mtime > kStaleSeconds;
}

}  // namespace

std::string TemporaryFolder() {
  const char* named = std::getenv("TMPDIR");
  struct stat st;
  if (named && *named && ::stat(named, &st) == 0 && S_ISDIR(st.st_mode)) return named;
  return "/tmp";
}

void RemoveStalePrivateFolders() {
  std::error_code ec;
  const time_t now = std::time(nullptr);
  for (const auto& entry : std::filesystem::directory_iterator(TemporaryFolder(), ec)) {
    std::string path = entry.path().string();
    if (!IsPrivateFolderName(entry.path().filename().string()) || !IsStale(path, now)) continue;
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);  // links inside are removed, never followed
  }
}

}  // namespace dovrek

#include "report/workbook_handover.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/system_error.h"

extern char** environ;

namespace dovrek {
namespace {

// How long to wait for the opener to report whether it could open the file. Openers that hand
// the file to a running desktop return at once; one that keeps running has started a viewer.
constexpr auto kOpenerWait = std::chrono::seconds(5);

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The path to write to: a symbolic link's final target, else the path itself.
std::string FollowLinks(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(path.c_str(), resolved)) {
    return resolved;
  }
  return path;
}

mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::string WorkbookFileName(const std::string& project_name) {
  std::string name = project_name;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  if (name.find_first_not_of('.') == std::string::npos) name = "Dovrek";
  return name + ".xlsx";
}

bool SaveToFileHandover::HandOver(const WorkbookSaver& save, const std::string&, std::string* error) {
  std::string target = FollowLinks(path_);
  struct stat st;
  bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) return save(target, error);

  std::string base = target.substr(target.rfind('/') + 1);
  std::string temp = FolderOf(target) + "/." + base + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    *error = FileErrorMessage(target, errno);
    return false;
  }
  ::fchmod(fd, exists ? (st.st_mode & 07777) : NewFileMode());
  ::close(fd);
  if (!save(temp, error)) {
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    *error = FileErrorMessage(target, errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool OpenInDesktopHandover::HandOver(const WorkbookSaver& save, const std::string& project_name,
                                     std::string* error) {
  std::string folder = (std::filesystem::temp_directory_path() / "dovrek-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    *error = FileErrorMessage(folder, errno);
    return false;
  }
  std::string path = folder + "/" + WorkbookFileName(project_name);
  if (!save(path, error)) {
    ::unlink(path.c_str());
    ::rmdir(folder.c_str());
    return false;
  }
  saved_path_ = path;
  if (!StartOpener(path)) {
    msg_.ShowInformation("ワークブックを開くアプリケーションを起動できませんでした。ファイルは次の場所に保存されています。\n" +
                         path);
  }
  return true;
}

// Starts the opener and waits a short while for its verdict: a non-zero exit or a failed start
// counts as failure; an opener still running after the wait has started a viewer.
bool OpenInDesktopHandover::StartOpener(const std::string& path) {
  if (opener_.empty()) return false;
  std::vector<std::string> args = opener_;
  args.push_back(path);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  auto deadline = std::chrono::steady_clock::now() + kOpenerWait;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (done < 0 && errno != EINTR) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace dovrek

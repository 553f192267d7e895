#include "report/workbook_handover.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/replacing_file.h"
#include "platform/system_error.h"
#include "platform/temporary_folder.h"

extern char** environ;

namespace dovrek {
namespace {

// How long to wait for the opener to report whether it could open the file. Openers that hand
// the file to a running desktop return at once; one that keeps running has started a viewer.
constexpr auto kOpenerWait = std::chrono::seconds(5);

}  // namespace

std::string WorkbookFileName(const std::string& project_name) {
  std::string name = project_name;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  if (name.find_first_not_of('.') == std::string::npos) name = "Dovrek";
  return name + ".xlsx";
}

bool SaveToFileHandover::HandOver(const std::string& workbook, const std::string&,
                                  std::string* error) {
  return WriteWholeFile(path_, workbook, error);
}

bool OpenInDesktopHandover::HandOver(const std::string& workbook, const std::string& project_name,
                                     std::string* error) {
  std::string folder = TemporaryFolder() + "/dovrek-XXXXXX";
  if (!::mkdtemp(folder.data())) {
    *error = FileErrorMessage(folder, errno);
    return false;
  }
  std::string path = folder + "/" + WorkbookFileName(project_name);
  if (!WriteWholeFile(path, workbook, error)) {
    ::unlink(path.c_str());
    ::rmdir(folder.c_str());
    return false;
  }
  saved_path_ = path;
  if (!StartOpener(path)) {
    msg_.ShowInformation(
        "ワークブックを開くアプリケーションを起動できませんでした。ファイルは次の場所に保存されてい"
        "ます。\n" +
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

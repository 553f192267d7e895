#include "report/workbook_handover.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/replacing_file.h"
#include "platform/system_error.h"
#include "platform/temporary_folder.h"
#include "report/workbook/cell_text.h"

extern char** environ;

namespace dovrek {
namespace {

// How long to wait for the opener to report whether it could open the file. Openers that hand
// the file to a running desktop return at once; one that keeps running has started a viewer.
constexpr auto kOpenerWait = std::chrono::seconds(5);

constexpr char kWorkbookExtension[] = ".xlsx";

// True for the second and later bytes of a UTF-8 sequence, where a name must not be cut.
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string WorkbookFileName(const std::string& project_name) {
  std::string name = project_name;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  if (name.find_first_not_of('.') == std::string::npos) name = "Dovrek";
  size_t fits = NAME_MAX - (sizeof(kWorkbookExtension) - 1);
  if (name.size() > fits) {
    while (fits > 0 && IsContinuationByte(name[fits])) --fits;
    name.resize(fits);
  }
  return name + kWorkbookExtension;
}

std::string CutTextsInformation(const std::vector<std::string>& procedures) {
  const std::string limit = std::to_string(kMaxCellCharacters);
  std::string text = "次の関数の文字列が 1 つのセルに入る " + limit +
                     " 文字を超えたため、ワークブックでは " + limit + " 文字で切りました。";
  for (size_t i = 0; i < procedures.size() && i < kMostCutTextsNamed; ++i) {
    text += "\n" + procedures[i];
  }
  if (procedures.size() > kMostCutTextsNamed) {
    text += "\nほか " + std::to_string(procedures.size() - kMostCutTextsNamed) + " 個";
  }
  return text;
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

void OpenInDesktopHandover::ReportCutTexts(const std::vector<std::string>& procedures) {
  if (!procedures.empty()) msg_.ShowInformation(CutTextsInformation(procedures));
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

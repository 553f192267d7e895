#pragma once
// Where a finished workbook goes: into a file the user named, or into a private temporary
// folder from which the desktop's default application opens it.

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/status.h"

namespace dovrek {

// Writes a finished .xlsx workbook to a native path as it is made, so that it is never held
// whole in memory. A failure is described as "path: reason".
using WorkbookSaver = std::function<Status(const std::string& native_path)>;

class WorkbookHandover {
 public:
  virtual ~WorkbookHandover() = default;
  // Hands over a finished workbook by having `save` write it where it goes. project_name is the
  // project's Name (may be empty). A failure is described as "path: reason".
  virtual Status HandOver(const WorkbookSaver& save, const std::string& project_name) = 0;
  // Called once after the run with the procedures whose text the handed-over workbook holds
  // cut to the cell limit (may be empty). By default nothing more is said: each cut cell has
  // already had its line on standard error, which is where a user of a saved file looks.
  virtual void ReportCutTexts(const std::vector<std::string>& /*procedures*/) {}
};

// Writes the workbook to a file named at construction (native path), replacing an earlier file
// only when complete (see ReplacingFile: links followed, devices written in place).
class SaveToFileHandover : public WorkbookHandover {
 public:
  explicit SaveToFileHandover(std::string native_path) : path_(std::move(native_path)) {}
  Status HandOver(const WorkbookSaver& save, const std::string& project_name) override;

 private:
  std::string path_;
};

// How long the hand-over waits for the opener to report whether it could open the file. Openers
// that hand the file to a running desktop return at once; one that keeps running has started a
// viewer.
inline constexpr std::chrono::milliseconds kOpenerWait = std::chrono::seconds(5);

// Where the opener's verdict is awaited: in the hand-over itself (a run that ends afterwards),
// or in a thread of its own, so that a window is never held up.
enum class OpenerWait { kHere, kInBackground };

// Saves the workbook as "<project name>.xlsx" ("Dovrek.xlsx" without a name) in a new private
// temporary folder (mode 0700) and opens it with the desktop's default application: the opener
// command (by default xdg-open) is started directly with an argument vector, the file's path
// last, never through a shell. When it cannot be started or reports failure (a non-zero exit
// within the verdict wait), an information box says where the file is; the workbook is still
// handed over. In the background the box comes from the waiting thread, so `msg` must then be
// safe to call from any thread and must live until AwaitOpenerVerdicts has returned. Every
// opener is waited for when it ends, also one that runs on as a viewer, so none is left a
// zombie. Cut texts are told in one information box (CutTextsInformation), since the user of a
// window never sees standard error.
class OpenInDesktopHandover : public WorkbookHandover {
 public:
  explicit OpenInDesktopHandover(MessageBox& msg, std::vector<std::string> opener = {"xdg-open"},
                                 OpenerWait wait = OpenerWait::kHere,
                                 std::chrono::milliseconds verdict_wait = kOpenerWait)
      : msg_(msg), opener_(std::move(opener)), wait_(wait), verdict_wait_(verdict_wait) {}
  Status HandOver(const WorkbookSaver& save, const std::string& project_name) override;
  void ReportCutTexts(const std::vector<std::string>& procedures) override;

  // The path of the last workbook handed over (empty before the first).
  const std::string& saved_path() const { return saved_path_; }

 private:
  pid_t StartOpener(const std::string& path);
  void WatchInBackground(pid_t pid, const std::string& path);

  MessageBox& msg_;
  std::vector<std::string> opener_;
  OpenerWait wait_;
  std::chrono::milliseconds verdict_wait_;
  std::string saved_path_;
};

// Returns once every verdict awaited in the background has been given (its box, if any, asked
// for): the end of a window calls it before its message boxes go.
void AwaitOpenerVerdicts();

// The file name a workbook of the project is saved under: the name with "/" (which no file name
// can hold) replaced by "_", then ".xlsx"; "Dovrek.xlsx" for an empty or dot-only name. A name
// too long for the file system (NAME_MAX bytes with the extension) is shortened at a character
// boundary and keeps ".xlsx", so a long project name does not stop the hand-over.
std::string WorkbookFileName(const std::string& project_name);

// The information that the texts of these procedures ("Name(FileName)") were cut to the cell
// limit: one line saying so, then one procedure a line; beyond kMostCutTextsNamed procedures,
// a last line with how many more.
inline constexpr size_t kMostCutTextsNamed = 20;
std::string CutTextsInformation(const std::vector<std::string>& procedures);

}  // namespace dovrek

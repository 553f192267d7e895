#pragma once
// The workbook handed to the desktop: saved in a private temporary folder and opened there by
// the desktop's default application.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "app/opener_watch.h"
#include "frontend/message_box.h"
#include "report/workbook_handover.h"

namespace dovrek {

// How long the hand-over waits for the opener to report whether it could open the file. Openers
// that hand the file to a running desktop return at once; one that keeps running has started a
// viewer.
inline constexpr std::chrono::milliseconds kOpenerWait = std::chrono::seconds(5);

// Where the opener's verdict is awaited: in the hand-over itself (a run that ends afterwards),
// or on a thread of the watch, so that a window is never held up.
enum class OpenerWait { kHere, kInBackground };

// Saves the workbook as "<project name>.xlsx" ("Dovrek.xlsx" without a name) in a new private
// temporary folder (mode 0700) and opens it with the desktop's default application: the opener
// command (by default xdg-open) is started directly with an argument vector, the file's path
// last, never through a shell. When it cannot be started or reports failure (a non-zero exit
// within the verdict wait), an information box says where the file is; the workbook is still
// handed over. In the background the box comes from a thread of `watch`, so `msg` must then be
// safe to call from any thread and must live until the watch's AwaitVerdicts has returned.
// Every opener is followed by `watch` once its verdict is in, so none is left a zombie. Cut
// texts are told in one information box (CutTextsInformation), since the user of a window
// never sees standard error.
class OpenInDesktopHandover : public WorkbookHandover {
 public:
  OpenInDesktopHandover(MessageBox& msg, OpenerWatch& watch,
                        std::vector<std::string> opener = {"xdg-open"},
                        OpenerWait wait = OpenerWait::kHere,
                        std::chrono::milliseconds verdict_wait = kOpenerWait)
      : msg_(msg),
        watch_(watch),
        opener_(std::move(opener)),
        wait_(wait),
        verdict_wait_(verdict_wait) {}
  Status HandOver(const WorkbookSaver& save, const std::string& project_name) override;
  void ReportCutTexts(const std::vector<std::string>& procedures) override;

  // The path of the last workbook handed over (empty before the first).
  const std::string& saved_path() const { return saved_path_; }

 private:
  pid_t StartOpener(const std::string& path);

  MessageBox& msg_;
  OpenerWatch& watch_;
  std::vector<std::string> opener_;
  OpenerWait wait_;
  std::chrono::milliseconds verdict_wait_;
  std::string saved_path_;
};

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

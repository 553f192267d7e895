#pragma once
// Shared helpers for the core tests: temporary folders with real files, and recording fakes
// for the windows a person would otherwise have to answer.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "frontend/file_dialog.h"
#include "frontend/message_box.h"
#include "frontend/progress_window.h"
#include "frontend/warning_reporter.h"
#include "texts/box_titles.h"

namespace dovrek::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes bytes to a file below the folder (creating folders) and returns its native path.
  std::string Write(const std::string& relative, const std::string& bytes) const;
  // The native path of a file below the folder.
  std::string Native(const std::string& relative) const;
  // The Windows-form path of a file below the folder.
  std::string Windows(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// Counts file system events of the kinds in `mask` (inotify, IN_OPEN and the like) in one
// folder from construction on: how often a file was opened or replaced, or the folder itself
// listed. Every kind is watched, so that no two events in a row are alike: inotify would
// report such a pair as one.
class FolderEvents {
 public:
  FolderEvents(const std::filesystem::path& folder, uint32_t mask);
  ~FolderEvents();
  FolderEvents(const FolderEvents&) = delete;
  FolderEvents& operator=(const FolderEvents&) = delete;
  // The events since the last call on the file `name` in the folder ("" for the folder itself).
  int CountFor(const std::string& name);

 private:
  int fd_;
  uint32_t mask_;
};

// The whole content of a file, or "<missing>".
std::string ReadFileBytes(const std::string& native_path);

// The shared corpus folder (../shared/corpus beside the source tree), or empty when absent.
std::string CorpusFolder();

// Records every box as "title|message" and answers questions from a queue (No when empty).
class RecordingMessageBox : public MessageBox {
 public:
  void ShowError(const std::string& m) override {
    shown.push_back(std::string(kErrorTitle) + "|" + m);
  }
  void ShowMessage(const std::string& m) override {
    shown.push_back(std::string(kMessageTitle) + "|" + m);
  }
  void ShowInformation(const std::string& m) override {
    shown.push_back(std::string(kInformationTitle) + "|" + m);
  }
  bool Ask(const std::string& m) override;

  std::vector<std::string> shown;
  std::deque<bool> answers;
};

// Records every warning.
class RecordingWarnings : public WarningReporter {
 public:
  void Warn(const std::string& warning) override { warnings.push_back(warning); }
  std::vector<std::string> warnings;
};

// Records the calls as text: "Load", "Unload", "Init <max> <msg>", "Progress <idx>".
class RecordingProgressWindow : public ProgressWindow {
 public:
  void Load() override { calls.push_back("Load"); }
  void Unload() override { calls.push_back("Unload"); }
  void InitProgress(int32_t max, const std::string& msg) override {
    calls.push_back("Init " + std::to_string(max) + " " + msg);
  }
  void Progress(int32_t idx) override { calls.push_back("Progress " + std::to_string(idx)); }

  std::vector<std::string> calls;
};

// Answers every dialog with a fixed path (native), or as cancelled when it is empty.
class FixedFileDialog : public FileDialog {
 public:
  explicit FixedFileDialog(std::string fixed_path = "") : path(std::move(fixed_path)) {}
  bool ShowOpenDialog(const std::string&, std::string* chosen) override { return Answer(chosen); }
  bool ShowSaveDialog(const std::string&, std::string* chosen) override { return Answer(chosen); }

  std::string path;
  int calls = 0;

 private:
  bool Answer(std::string* chosen) {
    ++calls;
    *chosen = path;
    return !path.empty();
  }
};

}  // namespace dovrek::testing

#pragma once
// Where a finished workbook goes: into a file the user named, or into a private temporary
// folder from which the desktop's default application opens it.

#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace dovrek {

// Writes the workbook to a native path; answers false with *error on failure.
using WorkbookSaver = std::function<bool(const std::string& native_path, std::string* error)>;

class WorkbookHandover {
 public:
  virtual ~WorkbookHandover() = default;
  // Hands the workbook over by calling `save` with the path it should be written to.
  // project_name is the project's Name (may be empty). Answers false and fills *error on
  // failure.
  virtual bool HandOver(const WorkbookSaver& save, const std::string& project_name, std::string* error) = 0;
};

// Writes the workbook to a file named at construction (native path). A regular file, or a name
// not yet taken, is replaced only when the workbook is complete: it is written to a temporary
// file in the same folder and renamed over the target. A symbolic link is followed; any other
// existing target (a device, a FIFO) is written in place.
class SaveToFileHandover : public WorkbookHandover {
 public:
  explicit SaveToFileHandover(std::string native_path) : path_(std::move(native_path)) {}
  bool HandOver(const WorkbookSaver& save, const std::string& project_name, std::string* error) override;

 private:
  std::string path_;
};

// Saves the workbook as "<project name>.xlsx" ("Dovrek.xlsx" without a name) in a new private
// temporary folder (mode 0700) and opens it with the desktop's default application: the opener
// command (by default xdg-open) is started directly with an argument vector, the file's path
// last, never through a shell. When it cannot be started or reports failure, an information box
// says where the file is; the workbook is still handed over.
class OpenInDesktopHandover : public WorkbookHandover {
 public:
  explicit OpenInDesktopHandover(MessageBox& msg, std::vector<std::string> opener = {"xdg-open"})
      : msg_(msg), opener_(std::move(opener)) {}
  bool HandOver(const WorkbookSaver& save, const std::string& project_name, std::string* error) override;

  // The path of the last workbook handed over (empty before the first).
  const std::string& saved_path() const { return saved_path_; }

 private:
  bool StartOpener(const std::string& path);

  MessageBox& msg_;
  std::vector<std::string> opener_;
  std::string saved_path_;
};

// The file name a workbook of the project is saved under: the name with "/" (which no file name
// can hold) replaced by "_", then ".xlsx"; "Dovrek.xlsx" for an empty or dot-only name.
std::string WorkbookFileName(const std::string& project_name);

}  // namespace dovrek

#pragma once
// Where a finished workbook goes: into a file the user named, or into a private temporary
// folder from which the desktop's default application opens it.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace dovrek {

class WorkbookHandover {
 public:
  virtual ~WorkbookHandover() = default;
  // Hands over the bytes of a finished .xlsx workbook. project_name is the project's Name
  // (may be empty). Answers false and fills *error ("path: reason") on failure.
  virtual bool HandOver(const std::string& workbook, const std::string& project_name,
                        std::string* error) = 0;
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
  bool HandOver(const std::string& workbook, const std::string& project_name,
                std::string* error) override;

 private:
  std::string path_;
};

// Saves the workbook as "<project name>.xlsx" ("Dovrek.xlsx" without a name) in a new private
// temporary folder (mode 0700) and opens it with the desktop's default application: the opener
// command (by default xdg-open) is started directly with an argument vector, the file's path
// last, never through a shell. When it cannot be started or reports failure, an information box
// says where the file is; the workbook is still handed over. Cut texts are told in one
// information box (CutTextsInformation), since the user of a window never sees standard error.
class OpenInDesktopHandover : public WorkbookHandover {
 public:
  explicit OpenInDesktopHandover(MessageBox& msg, std::vector<std::string> opener = {"xdg-open"})
      : msg_(msg), opener_(std::move(opener)) {}
  bool HandOver(const std::string& workbook, const std::string& project_name,
                std::string* error) override;
  void ReportCutTexts(const std::vector<std::string>& procedures) override;

  // The path of the last workbook handed over (empty before the first).
  const std::string& saved_path() const { return saved_path_; }

 private:
  bool StartOpener(const std::string& path);

  MessageBox& msg_;
  std::vector<std::string> opener_;
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

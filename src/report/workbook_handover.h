#pragma once
// Where a finished workbook goes: the report hands it over, and the way of running decides
// where that is (a file the user named, standard output, or the desktop; see app/).

#include <functional>
#include <string>
#include <vector>

#include "base/status.h"
#include "os/output_transaction.h"

namespace dovrek {

// Writes a finished .xlsx workbook to a native path as it is made, so that it is never held
// whole in memory; in the transaction when one is given. A failure is described as
// "path: reason".
using WorkbookSaver =
    std::function<Status(const std::string& native_path, OutputTransaction* transaction)>;

class WorkbookHandover {
 public:
  virtual ~WorkbookHandover() = default;
  // Hands over a finished workbook by having `save` write it where it goes. project_name is the
  // project's Name (may be empty). A failure is described as "path: reason".
  virtual Status HandOver(const WorkbookSaver& save, const std::string& project_name) = 0;
  // Called once after the run with the procedures whose text the handed-over workbook holds
  // cut to the cell limit (may be empty). By default nothing more is said: each cut cell has
  // already had its warning, on standard error where a user of a saved file looks.
  virtual void ReportCutTexts(const std::vector<std::string>& /*procedures*/) {}
};

// Writes the workbook to a file named at construction (native path), replacing an earlier file
// only when complete (see ReplacingFile: links followed, devices written in place), in the
// transaction when one is given.
class SaveToFileHandover : public WorkbookHandover {
 public:
  explicit SaveToFileHandover(std::string native_path, OutputTransaction* transaction = nullptr)
      : path_(std::move(native_path)), transaction_(transaction) {}
  Status HandOver(const WorkbookSaver& save, const std::string& project_name) override;

 private:
  std::string path_;
  OutputTransaction* transaction_;
};

}  // namespace dovrek

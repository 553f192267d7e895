#pragma once
// The open dialog for the project file and the save dialog for the text report. Both start
// empty, answer true with the chosen path (native) when the user confirmed a file, and
// false when the user cancelled (no message) or the dialog failed (after ShowError). Only the
// window asks for a project; a front end without it answers the open dialog as cancelled.

#include <string>

namespace dovrek {

class FileDialog {
 public:
  virtual ~FileDialog() = default;
  virtual bool ShowOpenDialog(const std::string& initial_name, std::string* chosen_path) {
    (void)initial_name;
    chosen_path->clear();
    return false;
  }
  virtual bool ShowSaveDialog(const std::string& initial_name, std::string* chosen_path) = 0;
  // Why no dialog can be shown at all (nobody to ask), empty when one can. A run that needs an
  // answer must then fail: a silent cancel would report success for a file never written.
  virtual std::string Unavailable() const { return {}; }
};

}  // namespace dovrek

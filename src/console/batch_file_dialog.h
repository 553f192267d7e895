#pragma once
// The file dialogs of a batch run: nobody is asked; the save dialog answers with the report
// path given on the command line.

#include <string>
#include <utility>

#include "frontend/file_dialog.h"

namespace dovrek {

class BatchFileDialog : public FileDialog {
 public:
  // `save_path` is the text report's native path; empty means none was given.
  explicit BatchFileDialog(std::string save_path) : save_path_(std::move(save_path)) {}

  // Answers the fixed path; cancelled (false, empty path) when it is empty.
  bool ShowSaveDialog(const std::string& initial_name, std::string* chosen_path) override;

 private:
  std::string save_path_;
};

}  // namespace dovrek

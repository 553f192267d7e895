#include "console/batch_file_dialog.h"

namespace dovrek {

bool BatchFileDialog::ShowSaveDialog(const std::string&, std::string* chosen_path) {
  *chosen_path = save_path_;
  return !save_path_.empty();
}

}  // namespace dovrek

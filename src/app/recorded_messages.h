#pragma once
// The message box of one project in a run over many: nothing is shown while the projects run
// side by side; what the project's stages said is kept, to be named in the closing summary.

#include <string>
#include <vector>

#include "frontend/message_box.h"

namespace dovrek {

class RecordedMessages : public MessageBox {
 public:
  void ShowError(const std::string& message) override { problems_.push_back(message); }
  void ShowMessage(const std::string& message) override { problems_.push_back(message); }
  // Information (the missing members skipped) is told in the summary from the model itself.
  void ShowInformation(const std::string&) override {}
  // Nobody is there to answer: No, the default answer.
  bool Ask(const std::string&) override { return false; }

  // The errors and cautions, one a line, in the order they came.
  std::string Problems() const {
    std::string joined;
    for (const std::string& problem : problems_) joined += (joined.empty() ? "" : "\n") + problem;
    return joined;
  }

 private:
  std::vector<std::string> problems_;
};

}  // namespace dovrek

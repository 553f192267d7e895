#pragma once
// The one way the program speaks to the user in a modal box. Each kind fixes its title and
// icon; the text is shown unchanged.

#include <string>

namespace dovrek {

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // A failure: title "エラー", stop icon, OK.
  virtual void ShowError(const std::string& message) = 0;
  // The user's own mistake or a missing input: title "注意", exclamation icon, OK.
  virtual void ShowMessage(const std::string& message) = 0;
  // Title "情報", information icon, OK.
  virtual void ShowInformation(const std::string& information) = 0;
  // Title "質問", Yes and No with No the default; true when the user answered Yes.
  virtual bool Ask(const std::string& question) = 0;
};

}  // namespace dovrek

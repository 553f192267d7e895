#pragma once
// Message boxes without a display: "タイトル: メッセージ" on standard error. A question is asked
// on the terminal when standard input is one, and otherwise answered No.

#include <iosfwd>

#include "frontend/message_box.h"

namespace dovrek {

class ConsoleMessageBox : public MessageBox {
 public:
  ConsoleMessageBox();
  // `clear_line`: erase the current terminal line first, where a progress bar may stand.
  ConsoleMessageBox(std::ostream& err, std::istream* terminal, bool clear_line = false);

  void ShowError(const std::string& message) override;
  void ShowMessage(const std::string& message) override;
  void ShowInformation(const std::string& information) override;
  bool Ask(const std::string& question) override;

 private:
  void Print(const char* title, const std::string& text);

  std::ostream& err_;
  std::istream* terminal_;
  bool clear_line_;
};

}  // namespace dovrek

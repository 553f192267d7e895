#pragma once
// The file dialogs without a display: the path is asked for on the terminal. With no terminal
// on standard input every dialog counts as cancelled, and Unavailable() says so.

#include <iosfwd>
#include <string>

#include "frontend/file_dialog.h"

namespace dovrek {

class ConsoleFileDialog : public FileDialog {
 public:
  // Prompts on standard error and reads standard input when it is a terminal.
  ConsoleFileDialog();
  // Prompts on `prompt` and reads `terminal`; a null terminal cancels every dialog.
  ConsoleFileDialog(std::ostream& prompt, std::istream* terminal);

  // Asks for the text file ("テキスト ファイル (*.txt)"). Blanks around the answer are dropped
  // and an empty answer (or the end of input) is a cancel. A typed path is native, "\" also
  // separating folders; a relative one is made absolute against the current folder. An
  // existing file is confirmed before it is replaced; answering no asks again. The initial name
  // is not used.
  bool ShowSaveDialog(const std::string& initial_name, std::string* chosen_path) override;
  // kNoTerminal without a terminal, empty with one.
  std::string Unavailable() const override;

 private:
  bool ReadLine(std::string* line);
  bool YesTo(const std::string& question);

  std::ostream& prompt_;
  std::istream* terminal_;
};

}  // namespace dovrek

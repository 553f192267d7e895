#include "console/console_message_box.h"
#include "console/console_messages.h"
#include "texts/box_titles.h"

#include <unistd.h>

#include <iostream>
#include <string>

namespace dovrek {

ConsoleMessageBox::ConsoleMessageBox()
    : ConsoleMessageBox(std::cerr, ::isatty(STDIN_FILENO) ? &std::cin : nullptr,
                        ::isatty(STDERR_FILENO)) {}

ConsoleMessageBox::ConsoleMessageBox(std::ostream& err, std::istream* terminal, bool clear_line)
    : err_(err), terminal_(terminal), clear_line_(clear_line) {}

void ConsoleMessageBox::Print(const char* title, const std::string& text) {
  if (clear_line_) err_ << "\r\x1b[K";
  err_ << title << ": " << text << std::endl;
}

void ConsoleMessageBox::ShowError(const std::string& message) { Print(kErrorTitle, message); }

void ConsoleMessageBox::ShowMessage(const std::string& message) { Print(kMessageTitle, message); }

void ConsoleMessageBox::ShowInformation(const std::string& information) {
  Print(kInformationTitle, information);
}

bool ConsoleMessageBox::Ask(const std::string& question) {
  if (clear_line_) err_ << "\r\x1b[K";
  err_ << kQuestionTitle << ": " << question << kYesNoSuffix << std::flush;
  std::string answer;
  if (!terminal_ || !std::getline(*terminal_, answer)) {
    err_ << std::endl;
    return false;
  }
  return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace dovrek

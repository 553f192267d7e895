#include "platform/console_message_box.h"

#include <unistd.h>

#include <iostream>
#include <string>

namespace dovrek {

ConsoleMessageBox::ConsoleMessageBox()
    : ConsoleMessageBox(std::cerr, ::isatty(STDIN_FILENO) ? &std::cin : nullptr) {}

ConsoleMessageBox::ConsoleMessageBox(std::ostream& err, std::istream* terminal)
    : err_(err), terminal_(terminal) {}

void ConsoleMessageBox::Print(const char* title, const std::string& text) {
  err_ << title << ": " << text << std::endl;
}

void ConsoleMessageBox::ShowError(const std::string& vstrMessage) { Print(kErrorTitle, vstrMessage); }

void ConsoleMessageBox::ShowMessage(const std::string& vstrMessage) {
  Print(kMessageTitle, vstrMessage);
}

void ConsoleMessageBox::ShowInformation(const std::string& vstrInformation) {
  Print(kInformationTitle, vstrInformation);
}

int16_t ConsoleMessageBox::ShowQuestion(const std::string& vstrQuestion) {
  err_ << kQuestionTitle << ": " << vstrQuestion << " [y/N] " << std::flush;
  std::string answer;
  if (!terminal_ || !std::getline(*terminal_, answer)) {
    err_ << std::endl;
    return kAnswerNo;
  }
  return (answer == "y" || answer == "Y" || answer == "yes") ? kAnswerYes : kAnswerNo;
}

}  // namespace dovrek

#include "console/console_file_dialog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <iostream>
#include <string_view>

#include "console/console_messages.h"
#include "frontend/frontend_messages.h"
#include "os/native_path.h"

namespace dovrek {
namespace {

// The description part of a filter such as "テキスト ファイル (*.txt)|*.txt".
std::string_view FilterName(std::string_view filter) { return filter.substr(0, filter.find('|')); }

std::string_view TrimBlanks(std::string_view text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool ExistsExactly(const std::string& native_path) {
  struct stat st;
  return ::stat(native_path.c_str(), &st) == 0;
}

}  // namespace

ConsoleFileDialog::ConsoleFileDialog()
    : ConsoleFileDialog(std::cerr, ::isatty(STDIN_FILENO) ? &std::cin : nullptr) {}

ConsoleFileDialog::ConsoleFileDialog(std::ostream& prompt, std::istream* terminal)
    : prompt_(prompt), terminal_(terminal) {}

std::string ConsoleFileDialog::Unavailable() const { return terminal_ ? "" : kNoTerminal; }

bool ConsoleFileDialog::ShowSaveDialog(const std::string&, std::string* chosen_path) {
  chosen_path->clear();
  if (!terminal_) return false;
  for (;;) {
    prompt_ << FileNamePrompt(FilterName(kTextFilter)) << std::flush;
    std::string answer;
    if (!ReadLine(&answer)) return false;
    // "\" separates folders in a typed answer as in every path the program is given.
    std::string path = MakeAbsolute(ToNativePath(TrimBlanks(answer)));
    if (ExistsExactly(path) && !YesTo(OverwritePrompt(path))) continue;
    *chosen_path = path;
    return true;
  }
}

// The next line of the terminal with blanks around it dropped; false at the end of input or
// when the line is empty.
bool ConsoleFileDialog::ReadLine(std::string* line) {
  std::string raw;
  if (!std::getline(*terminal_, raw)) {
    prompt_ << std::endl;
    return false;
  }
  *line = std::string(TrimBlanks(raw));
  return !line->empty();
}

bool ConsoleFileDialog::YesTo(const std::string& question) {
  prompt_ << question << kYesNoSuffix << std::flush;
  std::string answer;
  if (!ReadLine(&answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace dovrek

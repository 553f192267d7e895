#include "console/console_warning_reporter.h"

#include <iostream>

namespace dovrek {

ConsoleWarningReporter::ConsoleWarningReporter() : ConsoleWarningReporter(std::cerr) {}

void ConsoleWarningReporter::Warn(const std::string& warning) {
  err_ << warning << '\n' << std::flush;
}

}  // namespace dovrek

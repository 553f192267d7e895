#pragma once
// Warnings on standard error, one line each, where a user of a saved file looks.

#include <iosfwd>

#include "frontend/warning_reporter.h"

namespace dovrek {

class ConsoleWarningReporter : public WarningReporter {
 public:
  ConsoleWarningReporter();
  explicit ConsoleWarningReporter(std::ostream& err) : err_(err) {}

  void Warn(const std::string& warning) override;

 private:
  std::ostream& err_;
};

}  // namespace dovrek

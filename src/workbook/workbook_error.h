#pragma once
// The one failure type of the workbook engine. Every operation that cannot do what it was asked
// throws it with a description meant for the user, naming the file, sheet, cell or name at fault.

#include <stdexcept>
#include <string>

namespace dovrek {

class WorkbookError : public std::runtime_error {
 public:
  explicit WorkbookError(const std::string& description) : std::runtime_error(description) {}
};

}  // namespace dovrek

namespace dovrek {

// Runs a cosmetic step whose failure leaves the template's look and nothing worse.
template <typename Step>
void IgnoringFailure(Step step) {
  try {
    step();
  } catch (const WorkbookError&) {
  }
}

}  // namespace dovrek

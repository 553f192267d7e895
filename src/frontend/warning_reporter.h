#pragma once
// Where damage that a run survives is told: a text cut to a cell's limit, an entry of the
// template left out. The run goes on; the user learns what its output lacks.

#include <string>

namespace dovrek {

class WarningReporter {
 public:
  virtual ~WarningReporter() = default;
  // One warning, a whole line without its line break.
  virtual void Warn(const std::string& warning) = 0;
};

}  // namespace dovrek

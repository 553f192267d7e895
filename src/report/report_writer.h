#pragma once
// One output of a run: a writer puts the model where its output goes, showing the progress
// window while it works. The way of running decides, before the run, which writers there are
// and where each writes; the driver runs them in order and stops at the first that fails.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"
#include "frontend/progress_window.h"
#include "model/specification_model.h"

namespace dovrek {

class ReportWriter {
 public:
  virtual ~ReportWriter() = default;
  // Writes the output. A failure is described for the user; NotFound means an input the user
  // has to supply is missing (a caution, not an error).
  virtual Status Write(const SpecificationModel& model, ProgressWindow& progress) = 0;
  // Called once the run is over, whether it succeeded or not, after every other message of
  // the run: what the writer still has to tell about its output.
  virtual void RunEnded() {}
};

using ReportWriters = std::vector<std::unique_ptr<ReportWriter>>;

// Where an output goes, asked for at the moment its writer starts: sets *path (native),
// or leaves it empty when the user chose none (the output is then skipped, successfully).
// Fails when there is nobody to ask.
using PathChooser = std::function<Status(std::string* path)>;

}  // namespace dovrek

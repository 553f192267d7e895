#pragma once
// One project of the inventory: what a migration assessment starts from. Made on the thread
// that ran the project, while its model is still there; the model is freed afterwards.

#include <string>
#include <utility>
#include <vector>

#include "model/specification_model.h"
#include "os/source_path.h"
#include "source/project_references.h"
#include "source/source_measure.h"

namespace dovrek {

struct InventoryRow {
  std::string Path;     // the project file as messages name it
  std::string Outcome;  // kOutcomeWritten, kOutcomeMissing or kOutcomeFailed
  std::string Message;  // why it failed, or the missing members, one a line
  // The counts below are filled only for a project read to its end.
  bool Read = false;
  bool Complete = false;  // the procedures were counted by kind
  ProjectInfo Project;
  ProjectReferences References;
  std::vector<size_t> Members;  // forms, modules, classes, controls, pages, documents, designers
  size_t Procedures = 0;
  std::vector<size_t> ProceduresByKind;  // in the order of kEntryKinds; complete mode only
  SourceMeasure Measure;
  size_t Screens = 0;
  size_t Controls = 0;
  std::vector<std::pair<std::string, size_t>> ControlClasses;  // by class name
};

// The row of a project read to its end into `model` (in complete mode when `complete`):
// counts from the model, the rest read again from the project's files.
InventoryRow InventoryRowOf(const SourcePath& project, const SpecificationModel& model,
                            bool complete);

}  // namespace dovrek

#pragma once
// One source file read on its own, apart from the model of the run, so that several files can
// be read at once and their entries joined afterwards in project order. Joining the parts of
// every file in order gives exactly the model that reading the files one after the other into
// the model gives.

#include <exception>
#include <string>
#include <vector>

#include "model/specification_model.h"
#include "os/source_path.h"
#include "base/status.h"

namespace dovrek {

// What one file gave when read on its own.
struct ModulePart {
  // The file's entries. A read that needed the entry of the files before it (an end line
  // before the file's first head describes that entry) has failed for want of it.
  std::vector<ProcedureEntry> procedures;
  Status status;
  // An exception the read ended with, for the joining thread to rethrow.
  std::exception_ptr exception;
};

// Reads the file as ReadModule does, into a part of its own; sources without a byte-order mark
// are read in `encoding` (as SpecificationModel::SourceEncoding). Throws nothing: an exception is
// kept in the part. Several threads may read at once.
ModulePart ReadModulePart(const SourcePath& path, const Options& options,
                          Encoding encoding);

// Appends the part of `path` to the model as if the file had been read into it. Answers the
// read's status and rethrows the exception the read ended with. A read that failed while the
// model has entries is done again straight into the model, as the failure may be an end line
// that describes the model's last entry; the model then gets what reading the file into it
// gives, failure or not.
Status JoinModulePart(ModulePart part, const SourcePath& path, const Options& options,
                      SpecificationModel* model);

}  // namespace dovrek

#pragma once
// One source file read on its own, apart from the model of the run, so that several files can
// be read at once and their entries joined afterwards in project order. Joining the parts of
// every file in order gives exactly the model that reading the files one after the other into
// the model gives.

#include <exception>
#include <string>
#include <vector>

#include "model/specification_model.h"
#include "platform/source_path.h"
#include "platform/status.h"

namespace dovrek {

// What one file gave when read on its own.
struct ModulePart {
  // The file's entries after a stand-in at the front: the entry of the files before it, which
  // an end line coming before the file's first head describes. Its Comment keeps kUnwritten
  // unless such an end line stored into it.
  std::vector<ProcedureEntry> procedures;
  Status status;
  // An exception the read ended with, for the joining thread to rethrow.
  std::exception_ptr exception;
};

// The stand-in's Comment while no end line has stored into it. A stored comment is empty or
// ends with "\n", so it never equals this.
inline constexpr char kUnwritten[] = "-";

// Reads the file as ReadModule does, into a part of its own; sources without a byte-order mark
// are read in `encoding` (as SpecificationModel::Encoding). Throws nothing: an exception is
// kept in the part. Several threads may read at once.
ModulePart ReadModulePart(const SourcePath& path, const Options& options,
                          const std::string& encoding);

// Appends the part of `path` to the model as if the file had been read into it: an end line
// before the file's first head stores its comment into the model's last entry. Answers the
// read's status and rethrows the exception the read ended with. When the model has no entry
// for such an end line, the file is read again straight into the model, which fails with the
// description it gives alone.
Status JoinModulePart(ModulePart part, const SourcePath& path, const Options& options,
                      SpecificationModel* model);

}  // namespace dovrek

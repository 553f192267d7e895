#include "source/module_part.h"

#include <iterator>

#include "source/module_scanner.h"

namespace dovrek {

ModulePart ReadModulePart(const SourcePath& path, const Options& options,
                          Encoding encoding) {
  ModulePart part;
  SpecificationModel model;
  try {
    model.SourceEncoding = encoding;
    part.status = ReadModule(path, options, &model);
  } catch (...) {
    part.exception = std::current_exception();
  }
  // Entries made before a failure stay, as they do in the model.
  part.procedures = std::move(model.Procedures);
  return part;
}

Status JoinModulePart(ModulePart part, const SourcePath& path, const Options& options,
                      SpecificationModel* model) {
  if (!part.exception && !part.status.ok() && !model->Procedures.empty()) {
    return ReadModule(path, options, model);
  }
  model->Procedures.insert(model->Procedures.end(),
                           std::make_move_iterator(part.procedures.begin()),
                           std::make_move_iterator(part.procedures.end()));
  if (part.exception) std::rethrow_exception(part.exception);
  return part.status;
}

}  // namespace dovrek

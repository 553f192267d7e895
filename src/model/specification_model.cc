#include "model/specification_model.h"

namespace dovrek {

void SpecificationModel::ClearProject() {
  Project = ProjectInfo{};
  FormFiles.clear();
  ModuleFiles.clear();
  ClassFiles.clear();
}

}  // namespace dovrek

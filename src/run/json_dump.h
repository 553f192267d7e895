#pragma once
// The model as JSON (UTF-8): project information, the three member lists and the procedures,
// with the model's own field names.

#include <string>

#include "model/specification_model.h"

namespace dovrek {

std::string ModelToJson(const SpecificationModel& model);

}  // namespace dovrek

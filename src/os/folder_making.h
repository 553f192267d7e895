#pragma once
// Making the folders an output path needs.

#include <string>

#include "base/status.h"

namespace dovrek {

// Makes the native folder and every folder above it that is not there yet. Fails ("path:
// reason") when one cannot be made or something other than a folder stands in the way.
Status MakeFolders(const std::string& native_folder);

}  // namespace dovrek

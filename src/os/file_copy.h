#pragma once
// Copies the content of a file to an open file descriptor a block at a time, so that a large
// file is never held in memory whole.

#include <string>

#include "base/status.h"

namespace dovrek {

// Copies the native file `from` to `to_fd`, which stays the caller's to close. A failure to
// read is described as "from: reason", a failure to write as "to_name: reason".
Status CopyFileContent(const std::string& from, int to_fd, const std::string& to_name);

}  // namespace dovrek

#pragma once
// The folder for the program's own temporary files.

#include <string>

namespace dovrek {

// $TMPDIR when it names a folder, else /tmp, as the C library chooses: an empty or stale
// TMPDIR falls back instead of failing.
std::string TemporaryFolder();

}  // namespace dovrek

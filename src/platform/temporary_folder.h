#pragma once
// The folder for the program's own temporary files, and the clean-up of the private folders
// ("dovrek-XXXXXX") the program leaves there: a workbook handed over to the desktop must stay
// while its viewer may still read it, so its folder is removed at a later start.

#include <string>

namespace dovrek {

// $TMPDIR when it names a folder, else /tmp, as the C library chooses: an empty or stale
// TMPDIR falls back instead of failing.
std::string TemporaryFolder();

// Removes, with their contents, the folders in TemporaryFolder() named "dovrek-" and six more
// characters that are real folders (not links), belong to the calling user and have not
// changed for more than a day. Failures are ignored: the next start tries again.
void RemoveStalePrivateFolders();

}  // namespace dovrek

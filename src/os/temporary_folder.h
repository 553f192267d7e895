#pragma once
// The folder for the program's own temporary files, and the private folders ("dovrek-XXXXXX")
// the program makes there. A workbook handed over to the desktop must stay while its viewer may
// still read it, so its folder is removed at a later start. Each private folder holds a marker
// file from the moment it is made, so that the clean-up removes only folders this program made
// and never a folder of the user's that happens to have a name of that form.

#include <string>

#include "base/status.h"

namespace dovrek {

// The marker file in every private folder.
inline constexpr char kPrivateFolderMarker[] = ".dovrek-private-folder";

// $TMPDIR when it names a folder, else /tmp, as the C library chooses: an empty or stale
// TMPDIR falls back instead of failing.
std::string TemporaryFolder();

// Makes a new private folder (mode 0700) in TemporaryFolder() with its marker and puts its
// native path in *folder. With a slot, the folder is also recorded for removal, with the files
// in it, should a signal end the run (see interrupt_cleanup.h; forget the slot once the folder
// is removed). A failure is described as "path: reason" and leaves nothing behind.
Status MakePrivateFolder(std::string* folder, int* slot = nullptr);

// Removes a private folder made by MakePrivateFolder whose other files are already gone.
void RemovePrivateFolder(const std::string& folder);

// Removes, with their contents, the folders in TemporaryFolder() named "dovrek-" and six more
// characters that are real folders (not links) of the calling user, hold the marker as a
// regular file of that user's, and have not changed for more than a day. Links met inside are
// removed, never followed. Failures are ignored: the next start tries again.
void RemoveStalePrivateFolders();

}  // namespace dovrek

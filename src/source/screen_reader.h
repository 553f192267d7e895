#pragma once
// Reads the screen of one window member (a form, user control, property page or user
// document): the description at the top of its source, in the project's encoding, the binary
// companion file beside it (same name, .frx, .ctx, .pgx or .dox), and the comment that
// describes it.

#include <string>
#include <string_view>
#include <vector>

#include "codepage/encoding.h"
#include "model/screen.h"
#include "os/folder_listings.h"
#include "os/source_path.h"
#include "base/status.h"

namespace dovrek {

// Fills *screen, reading the source in `encoding`; `subs` are the
// names of the Subs in the member's code, which name its event handlers. Fails only when the
// source cannot be read: a missing or damaged companion is noted on the screen.
// The companion is looked up through `listings`, the run's own.
Status ReadScreen(const SourcePath& member, FolderListings& listings, Encoding encoding,
                  std::vector<std::string> subs, Screen* screen);

}  // namespace dovrek

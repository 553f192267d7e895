#pragma once
// Writes the picture of every screen as a PNG file into a folder (--screens-dir), for wikis and
// reviews: "<member file name without its extension>.png", with "-2", "-3", ... after a name
// that two members share.

#include <string>
#include <vector>

#include "draw/screen_picture.h"
#include "model/screen.h"
#include "base/status.h"
#include "os/output_transaction.h"

namespace dovrek {

// The file names the screens' pictures get, in the screens' order.
std::vector<std::string> ScreenPictureNames(const std::vector<Screen>& screens);

// Draws every picture (on every core) unless `drawn` holds them already, then writes them, in
// `transaction` when given; the folder must exist. The first failure is answered, naming its
// file.
Status WriteScreenPictures(const std::vector<Screen>& screens, const std::string& native_folder,
                           OutputTransaction* transaction = nullptr,
                           DrawnScreenPictures* drawn = nullptr);

}  // namespace dovrek

#include "app/screen_pictures.h"

#include <set>

#include "draw/screen_picture.h"
#include "os/replacing_file.h"
#include "base/text_helpers.h"

namespace dovrek {

std::vector<std::string> ScreenPictureNames(const std::vector<Screen>& screens) {
  std::vector<std::string> names;
  std::set<std::string> used;  // in small letters: a folder may not tell "A" from "a"
  for (const Screen& screen : screens) {
    std::string stem = screen.FileName.substr(0, screen.FileName.rfind('.'));
    if (stem.empty()) stem = "screen";
    std::string name = stem;
    for (int n = 2; used.count(AsciiSmall(name)); ++n) name = stem + "-" + std::to_string(n);
    used.insert(AsciiSmall(name));
    names.push_back(name + ".png");
  }
  return names;
}

Status WriteScreenPictures(const std::vector<Screen>& screens, const std::string& native_folder,
                           OutputTransaction* transaction, DrawnScreenPictures* drawn) {
  const std::vector<std::string> names = ScreenPictureNames(screens);
  DrawnScreenPictures own;
  const std::vector<std::string>& pictures = (drawn ? *drawn : own).Of(screens);
  for (size_t i = 0; i < screens.size(); ++i) {
    if (Status written = WriteWholeFile(native_folder + "/" + names[i], pictures[i], transaction);
        !written.ok()) {
      return written;
    }
  }
  return Status::OK();
}

}  // namespace dovrek

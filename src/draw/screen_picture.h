#pragma once
// Draws a screen as a classic Windows window shows it, one pixel per screen pixel: the frame
// its border style and buttons ask for, the menu bar, and every control in the order the
// source lists them (the later on top), with their captions, texts, fonts and colours and the
// pictures of the companion file. Any class it does not know is a labelled box with its class,
// name and caption. Needs no display: it draws with cairo and pango into memory, and may run
// on several threads at once, a screen on each.

#include <optional>
#include <string>
#include <vector>

#include "model/screen.h"

namespace dovrek {

// The PNG file of the screen's picture.
std::string DrawScreenPicture(const Screen& screen);

// The PNG files of every screen's picture in their order, drawn on every core.
std::vector<std::string> DrawScreenPictures(const std::vector<Screen>& screens);

// The pictures of one run's screens, drawn when first asked for and kept, so that every output
// of the run that shows them (the workbook, the folder of pictures) shares one drawing.
class DrawnScreenPictures {
 public:
  const std::vector<std::string>& Of(const std::vector<Screen>& screens);

 private:
  std::optional<std::vector<std::string>> pictures_;
};

}  // namespace dovrek

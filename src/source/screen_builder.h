#pragma once
// Builds the screen of one window member from its description, its companion file and the
// names of the procedures in its code.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/screen.h"
#include "source/form_companion.h"
#include "source/form_description.h"

namespace dovrek {

struct ScreenSource {
  std::string FileName;  // the member's file name, "frmMain.frm"
  const FormDescription* Description = nullptr;
  // The companion file's bytes; nullptr when the member has none on disk.
  const FormCompanion* Companion = nullptr;
  // The code page the project's files are written in, as a decoder to UTF-8.
  std::function<std::string(std::string_view)> Decode;
  // The names of the Subs in the member's code, in their order.
  std::vector<std::string> Procedures;
  // The comment that describes the window (its VB_Description, or the comment block at the
  // top of its code).
  std::string Comment;
};

Screen BuildScreen(const ScreenSource& source);

// The caption that names each control of a screen that has none of its own and takes input
// (a text box, a list, a combo box, any control of another library): the caption of the
// nearest label to its left on the same line, else of the nearest label just above it, in the
// same container and on the same tab. A label is on the same line when its middle lies within
// the control's height, and just above when it ends above the control's top, overlaps the
// control across, and is no further above than the control is high. Sets ScreenControl::Label.
void NameInputsByTheirLabels(std::vector<ScreenControl>* controls);

}  // namespace dovrek

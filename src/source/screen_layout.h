#pragma once
// Where each object of a window description stands on screen, in pixels at 96 dpi (15 twips a
// pixel). A description writes every position in twips from its container's inner corner,
// whatever ScaleMode the container has (a container's scale applies to what its code draws and
// to positions set at run time, not to the saved layout): so each control stands at its
// container's inner corner (inside a picture box's border; a frame's or another control's outer
// corner) plus its own Left and Top. A tab control keeps the controls of the tabs that are not
// shown 75,000 twips to the left; they are put back in place and marked with their tab.

#include <cstdint>
#include <vector>

#include "source/form_description.h"

namespace dovrek {

struct PixelRect {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t W = 0;
  int32_t H = 0;

  bool operator==(const PixelRect&) const = default;
};

struct ObjectPlace {
  // On the window's client area (for a Line, the box from X1,Y1 to X2,Y2; for the window, its
  // client area at 0,0). Meaningless when Placed is false.
  PixelRect Rect;
  bool Placed = false;  // false for menus, which have no place of their own
  // The tab of the nearest tab control around the object that lists it, -1 when none; Shown
  // is false when that tab, or any tab around it, is not the one the window opens with.
  int32_t Tab = -1;
  bool Shown = true;
  // For a Line: from X1,Y1 to X2,Y2 on the client area.
  int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;

  bool operator==(const ObjectPlace&) const = default;
};

// One place per object of the description, in its order.
std::vector<ObjectPlace> LayOutScreen(const FormDescription& form);

// "Name(3)" for a member of a control array (one with an Index), the name otherwise.
std::string ItemName(const FormObject& object);

}  // namespace dovrek

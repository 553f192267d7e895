#pragma once
// The screens of a project, as complete mode describes them: each window's controls with
// their places in pixels and in the source's own units, and which procedure handles which
// event. Texts are UTF-8; an empty text means "not given".

#include <cstdint>
#include <string>
#include <vector>

namespace dovrek {

// A property as the source writes it: "Font.Name" = "\"MS UI Gothic\"".
struct ScreenProperty {
  std::string Name;
  std::string Text;

  bool operator==(const ScreenProperty&) const = default;
};

struct ScreenControl {
  std::string Name;
  std::string Index;       // the control-array index as the source writes it; empty when none
  std::string Class;       // "VB.CommandButton", "imText6Ctl.imText"
  std::string Kind;        // "コマンドボタン", or the class for other libraries
  std::string Container;   // the item name of the control it stands in; empty for the window
  int32_t Tab = -1;        // the tab of the tab control it stands on; -1 when none
  std::string Left, Top, Width, Height;  // as the source writes them
  bool Placed = false;     // false for menus
  bool Shown = true;       // false on a tab the window does not open with
  int32_t X = 0, Y = 0, W = 0, H = 0;    // pixels on the window's client area
  int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // a Line's ends, pixels on the client area
  std::string Caption;
  std::string Text;
  std::string TabIndex;
  std::string Label;       // the caption that names an input control without its own
  std::vector<std::string> Items;   // the items of its list, from the companion file
  std::vector<ScreenProperty> Properties;
  std::vector<std::string> Events;  // the events the screen's code handles for it
  // The image file its picture holds (bitmap, icon, GIF, JPEG), from the companion file; for
  // drawing only.
  std::string Picture;

  // "Name(3)" for a member of a control array, the name otherwise.
  std::string ItemName() const { return Index.empty() ? Name : Name + "(" + Index + ")"; }

  bool operator==(const ScreenControl&) const = default;
};

// A procedure named "<control>_<event>" in the screen's own code.
struct ScreenEvent {
  std::string Control;    // the item name, or the window's class word ("Form", "UserControl")
  std::string Event;
  std::string Procedure;
  bool OnScreen = true;   // false when no control of that name is on the screen

  bool operator==(const ScreenEvent&) const = default;
};

struct ScreenComponent {
  std::string Id;
  std::string FileName;

  bool operator==(const ScreenComponent&) const = default;
};

struct Screen {
  std::string FileName;     // the member's file name
  std::string Name;         // the window's name in its description
  std::string Kind;         // "Form", "MDIForm", "UserControl", "PropertyPage", "UserDocument"
  std::string Caption;
  std::string Description;  // the describing comment
  int32_t Width = 0;        // client area, pixels
  int32_t Height = 0;
  std::vector<ScreenProperty> Properties;  // the window's own
  std::vector<ScreenComponent> Objects;
  std::vector<ScreenControl> Controls;  // in the order they are drawn (the later on top)
  std::vector<ScreenEvent> Events;
  // What went wrong with the screen's companion file ("(.frx なし)"); empty when nothing did.
  std::string Note;

  bool operator==(const Screen&) const = default;
};

}  // namespace dovrek

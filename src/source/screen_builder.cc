#include "source/screen_builder.h"

#include <climits>
#include <map>
#include <utility>
#include <optional>

#include "base/text_helpers.h"
#include "source/control_kind.h"
#include "source/property_text.h"
#include "source/screen_layout.h"

namespace dovrek {
namespace {

// The events a procedure name may end in although no control of the screen has its name:
// those are listed as handlers of a control not on the screen. Any other "a_b" procedure
// whose "a" names no control is ordinary code.
constexpr std::string_view kKnownEvents[] = {
    "Click", "DblClick", "Change", "GotFocus", "LostFocus", "KeyDown", "KeyUp", "KeyPress",
    "MouseDown", "MouseUp", "MouseMove", "Load", "Unload", "QueryUnload", "Activate",
    "Deactivate", "Initialize", "Terminate", "Resize", "Paint", "Timer", "Scroll", "Validate",
    "DragDrop", "DragOver", "DropDown", "PathChange", "PatternChange", "ItemCheck",
    "OLEDragDrop", "OLEDragOver", "OLEStartDrag", "OLECompleteDrag", "OLEGiveFeedback",
    "OLESetData", "LinkClose", "LinkError", "LinkExecute", "LinkOpen", "LinkNotify",
    "ButtonClick", "NodeClick", "ItemClick", "ColumnClick", "DataArrival", "ConnectionRequest",
    "Connect", "Close", "Error", "OnComm", "ReadProperties", "WriteProperties",
    "InitProperties", "AmbientChanged", "EnterFocus", "ExitFocus", "Show", "Hide",
    "ApplyChanges", "SelectionChanged", "Reposition",
};

// The class words a window's own events are named with.
constexpr std::string_view kWindowWords[] = {"Form", "MDIForm", "UserControl", "PropertyPage",
                                             "UserDocument"};

bool IsKnownEvent(std::string_view event) {
  for (std::string_view known : kKnownEvents) {
    if (EqualsNoCase(event, known)) return true;
  }
  return false;
}

bool IsWindowWord(std::string_view word) {
  for (std::string_view known : kWindowWords) {
    if (EqualsNoCase(word, known)) return true;
  }
  return false;
}

class Builder {
 public:
  explicit Builder(const ScreenSource& source) : source_(source), form_(*source.Description) {}

  Screen Run() {
    Screen screen;
    screen.FileName = source_.FileName;
    screen.Description = source_.Comment;
    for (const ComponentReference& component : form_.Components) {
      screen.Objects.push_back({component.Id, component.FileName});
    }
    if (form_.Objects.empty()) return screen;
    const FormObject& window = form_.Objects[0];
    screen.Name = window.Name;
    screen.Kind = window.Class;
    screen.Caption = TextOf(window, "Caption");
    for (const FormProperty& property : window.Properties) {
      screen.Properties.push_back({property.Name, property.Text});
    }
    const std::vector<ObjectPlace> places = LayOutScreen(form_);
    screen.Width = places[0].Rect.W;
    screen.Height = places[0].Rect.H;
    for (size_t i = 1; i < form_.Objects.size(); ++i) {
      screen.Controls.push_back(ControlOf(form_.Objects[i], places[i]));
    }
    NameInputsByTheirLabels(&screen.Controls);
    MapEvents(&screen);
    screen.Note = note_;
    return screen;
  }

 private:
  ScreenControl ControlOf(const FormObject& object, const ObjectPlace& place) {
    ScreenControl control;
    control.Name = object.Name;
    control.Index = std::string(WithoutComment(object.Property("Index")));
    control.Class = object.QualifiedClass();
    control.Kind = ControlKindText(object);
    if (object.Parent > 0) control.Container = ItemName(form_.Objects[static_cast<size_t>(object.Parent)]);
    control.Tab = place.Tab;
    control.Shown = place.Shown;
    control.Placed = place.Placed;
    control.Left = std::string(WithoutComment(object.Property("Left")));
    control.Top = std::string(WithoutComment(object.Property("Top")));
    control.Width = std::string(WithoutComment(object.Property("Width")));
    control.Height = std::string(WithoutComment(object.Property("Height")));
    if (place.Placed) {
      control.X = place.Rect.X;
      control.Y = place.Rect.Y;
      control.W = place.Rect.W;
      control.H = place.Rect.H;
      control.X1 = place.X1;
      control.Y1 = place.Y1;
      control.X2 = place.X2;
      control.Y2 = place.Y2;
    }
    control.Caption = TextOf(object, "Caption");
    control.Text = TextOf(object, "Text");
    control.TabIndex = std::string(WithoutComment(object.Property("TabIndex")));
    control.Items = ItemsOf(object);
    control.Picture = PictureOf(object);
    for (const FormProperty& property : object.Properties) {
      control.Properties.push_back({property.Name, property.Text});
    }
    return control;
  }

  // A text property: quoted in the description, or kept in the companion file.
  std::string TextOf(const FormObject& object, std::string_view name) {
    const std::string_view source = object.Property(name);
    if (std::optional<std::string> quoted = QuotedText(source)) return *quoted;
    std::optional<CompanionReference> reference = CompanionReferenceOf(source);
    if (!reference) return {};
    if (!object.IsBuiltIn() && !reference->LongText) return {};  // another library's own saved state
    if (!source_.Companion) {
      Note("なし");
      return {};
    }
    std::optional<std::string_view> bytes = reference->LongText
                                                ? source_.Companion->LongText(reference->Offset)
                                                : source_.Companion->ShortText(reference->Offset);
    if (!bytes) {
      Note("破損");
      return {};
    }
    return source_.Decode(*bytes);
  }

  // The items of a built-in list or combo box, kept in the companion file.
  std::vector<std::string> ItemsOf(const FormObject& object) {
    std::optional<CompanionReference> reference = CompanionReferenceOf(object.Property("List"));
    if (!reference || !object.IsBuiltIn()) return {};
    if (!source_.Companion) {
      Note("なし");
      return {};
    }
    std::optional<std::vector<std::string_view>> items = source_.Companion->List(reference->Offset);
    if (!items) {
      Note("破損");
      return {};
    }
    std::vector<std::string> decoded;
    for (std::string_view item : *items) decoded.push_back(source_.Decode(item));
    return decoded;
  }

  // The image of a control's Picture, from the companion file; empty when there is none.
  std::string PictureOf(const FormObject& object) {
    std::optional<CompanionReference> reference = CompanionReferenceOf(object.Property("Picture"));
    if (!reference) return {};
    if (!source_.Companion) {
      Note("なし");
      return {};
    }
    std::optional<std::string_view> image = source_.Companion->Picture(reference->Offset);
    if (!image) {
      Note("破損");
      return {};
    }
    return std::string(*image);
  }

  // Notes once what is wrong with the companion file: "(.frx なし)", "(.ctx 破損)".
  void Note(std::string_view what) {
    if (!note_.empty()) return;
    const size_t dot = source_.FileName.rfind('.');
    std::string extension =
        dot == std::string::npos ? "" : CompanionExtension(AsciiSmall(source_.FileName.substr(dot + 1)));
    note_ = "(." + (extension.empty() ? std::string("frx") : extension) + " " + std::string(what) + ")";
  }

  // Each "<control>_<event>" procedure of the screen's code: split at the last underscore
  // (event names hold none), the control found without regard to letter case.
  void MapEvents(Screen* screen) {
    for (const std::string& procedure : source_.Procedures) {
      const size_t cut = procedure.rfind('_');
      if (cut == std::string::npos || cut == 0 || cut + 1 == procedure.size()) continue;
      const std::string_view target = std::string_view(procedure).substr(0, cut);
      const std::string_view event = std::string_view(procedure).substr(cut + 1);
      ScreenControl* control = Named(screen, target);
      if (control) {
        control->Events.emplace_back(event);
        screen->Events.push_back({control->Name, std::string(event), procedure, true});
        for (ScreenControl& member : screen->Controls) {  // every member of an array handles it
          if (&member != control && EqualsNoCase(member.Name, control->Name)) member.Events.emplace_back(event);
        }
      } else if (IsWindowWord(target) || IsKnownEvent(event)) {
        screen->Events.push_back({std::string(target), std::string(event), procedure, IsWindowWord(target)});
      }
    }
  }

  static ScreenControl* Named(Screen* screen, std::string_view name) {
    for (ScreenControl& control : screen->Controls) {
      if (EqualsNoCase(control.Name, name)) return &control;
    }
    return nullptr;
  }

  const ScreenSource& source_;
  const FormDescription& form_;
  std::string note_;
};

bool TakesInput(const ScreenControl& control) {
  if (!control.Caption.empty() || !control.Placed) return false;
  for (const char* cls : {"VB.TextBox", "VB.ComboBox", "VB.ListBox", "VB.DriveListBox",
                          "VB.DirListBox", "VB.FileListBox"}) {
    if (control.Class == cls) return true;
  }
  return control.Class.rfind("VB.", 0) != 0 && !control.Class.empty();
}

bool IsLabel(const ScreenControl& control) {
  return control.Class == "VB.Label" && !control.Caption.empty() && control.Placed;
}

// How far a label stands from a control, on the same line to its left, or just above it;
// nullopt when it stands elsewhere.
std::optional<int64_t> LeftGap(const ScreenControl& label, const ScreenControl& control) {
  const int64_t middle = label.Y + label.H / 2;
  if (middle < control.Y || middle > control.Y + control.H) return std::nullopt;
  const int64_t gap = int64_t{control.X} - (label.X + label.W);
  if (gap < -label.W / 2) return std::nullopt;  // not to its left
  return gap < 0 ? 0 : gap;
}

std::optional<int64_t> AboveGap(const ScreenControl& label, const ScreenControl& control) {
  const int64_t gap = int64_t{control.Y} - (label.Y + label.H);
  if (gap < 0 || gap > control.H) return std::nullopt;
  if (label.X >= control.X + control.W || label.X + label.W <= control.X) return std::nullopt;
  return gap;
}

// The label on the same line nearest to the control's left, else the nearest just above it.
const ScreenControl* NearestLabel(const std::vector<const ScreenControl*>& labels,
                                  const ScreenControl& control) {
  const ScreenControl* left = nullptr;
  const ScreenControl* above = nullptr;
  int64_t left_gap = INT64_MAX, above_gap = INT64_MAX;
  for (const ScreenControl* label : labels) {
    if (std::optional<int64_t> gap = LeftGap(*label, control); gap && *gap < left_gap) {
      left = label;
      left_gap = *gap;
    } else if (std::optional<int64_t> up = AboveGap(*label, control); up && *up < above_gap) {
      above = label;
      above_gap = *up;
    }
  }
  return left ? left : above;
}

}  // namespace

Screen BuildScreen(const ScreenSource& source) { return Builder(source).Run(); }

void NameInputsByTheirLabels(std::vector<ScreenControl>* controls) {
  // Labels by container and tab, so that each input looks only at its neighbours; a group so
  // large that pairing would take long (only a hostile file holds one) is left unnamed.
  constexpr size_t kMostPairs = 4'000'000;
  std::map<std::pair<std::string, int32_t>, std::vector<const ScreenControl*>> labels;
  std::map<std::pair<std::string, int32_t>, size_t> inputs;
  for (const ScreenControl& control : *controls) {
    if (IsLabel(control)) labels[{control.Container, control.Tab}].push_back(&control);
    if (TakesInput(control)) ++inputs[{control.Container, control.Tab}];
  }
  for (ScreenControl& control : *controls) {
    if (!TakesInput(control)) continue;
    const std::pair<std::string, int32_t> group{control.Container, control.Tab};
    auto found = labels.find(group);
    if (found == labels.end() || found->second.size() * inputs[group] > kMostPairs) continue;
    if (const ScreenControl* label = NearestLabel(found->second, control)) control.Label = label->Caption;
  }
}

}  // namespace dovrek

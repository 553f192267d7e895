#include "source/screen_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "base/text_helpers.h"
#include "source/property_text.h"

namespace dovrek {
namespace {

constexpr double kTwipsPerPixel = 15;
// A tab control keeps the controls of hidden tabs this far to the left.
constexpr double kHiddenTabShift = 75000;
// What the design view gives a control that has a place but no size (a timer, say).
constexpr double kIconTwips = 420;

double Number(const FormObject& object, std::string_view name, double fallback) {
  std::optional<double> value = NumberValue(object.Property(name));
  return value ? *value : fallback;
}

bool IsTabControl(const FormObject& object) { return EqualsNoCase(object.Class, "SSTab"); }

// The pixels inside a picture box's border: two for a 3D border, one for a flat one.
double BorderInset(const FormObject& object) {
  if (!EqualsNoCase(object.Class, "PictureBox")) return 0;
  if (Number(object, "BorderStyle", 1) == 0) return 0;
  return Number(object, "Appearance", 1) == 0 ? 1 : 2;
}

// Where a container's children are counted from, in window pixels.
struct Origin {
  double x = 0, y = 0;
};

// Pixels as whole numbers, held to a range any picture can take (a hostile source may say 1e300).
int32_t Pixels(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int32_t>(std::lround(std::clamp(value, -1e8, 1e8)));
}

// A box from two corners in any order.
PixelRect Box(double x1, double y1, double x2, double y2) {
  return {Pixels(std::min(x1, x2)), Pixels(std::min(y1, y2)), Pixels(std::fabs(x2 - x1)),
          Pixels(std::fabs(y2 - y1))};
}

// The tab each control of a tab control is on, by the names the tab control lists.
std::map<std::string, int32_t> TabsOf(const FormObject& tabs) {
  std::map<std::string, int32_t> on_tab;
  for (const FormProperty& property : tabs.Properties) {
    int tab = -1, item = -1, end = 0;
    const std::string name = AsciiSmall(property.Name);
    if (std::sscanf(name.c_str(), "tab(%d).control(%d)%n", &tab, &item, &end) != 2 ||
        static_cast<size_t>(end) != name.size()) {
      continue;
    }
    if (std::optional<std::string> control = QuotedText(property.Text)) {
      on_tab[AsciiSmall(*control)] = tab;
    }
  }
  return on_tab;
}

class Layout {
 public:
  explicit Layout(const FormDescription& form)
      : form_(form), places_(form.Objects.size()), origins_(form.Objects.size()) {}

  std::vector<ObjectPlace> Run() {
    if (form_.Objects.empty()) return {};
    PlaceWindow();
    for (size_t i = 1; i < form_.Objects.size(); ++i) Place(i);
    return std::move(places_);
  }

 private:
  void PlaceWindow() {
    const FormObject& window = form_.Objects[0];
    const double w = Number(window, "ClientWidth", Number(window, "Width", 0)) / kTwipsPerPixel;
    const double h = Number(window, "ClientHeight", Number(window, "Height", 0)) / kTwipsPerPixel;
    places_[0].Rect = {0, 0, Pixels(std::max(w, 0.0)), Pixels(std::max(h, 0.0))};  // no negative size
    places_[0].Placed = true;
  }

  void Place(size_t i) {
    const FormObject& object = form_.Objects[i];
    const size_t parent = object.Parent < 0 ? 0 : static_cast<size_t>(object.Parent);
    ObjectPlace& place = places_[i];
    SetTab(object, parent, &place);
    if (EqualsNoCase(object.Class, "Menu")) return;
    const Origin& c = origins_[parent];
    if (EqualsNoCase(object.Class, "Line")) return PlaceLine(object, c, &place);
    double left = Number(object, "Left", 0);
    if (IsTabControl(form_.Objects[parent]) && left <= -kHiddenTabShift / 2) {
      left += kHiddenTabShift;
    }
    const double x = c.x + left / kTwipsPerPixel;
    const double y = c.y + Number(object, "Top", 0) / kTwipsPerPixel;
    const double w = Number(object, "Width", kIconTwips) / kTwipsPerPixel;
    const double h = Number(object, "Height", kIconTwips) / kTwipsPerPixel;
    place.Rect = Box(x, y, x + w, y + h);
    place.Placed = true;
    const double inset = BorderInset(object);
    origins_[i] = {std::min(x, x + w) + inset, std::min(y, y + h) + inset};
  }

  void PlaceLine(const FormObject& line, const Origin& c, ObjectPlace* place) {
    auto x = [&](const char* name) { return c.x + Number(line, name, 0) / kTwipsPerPixel; };
    auto y = [&](const char* name) { return c.y + Number(line, name, 0) / kTwipsPerPixel; };
    place->X1 = Pixels(x("X1"));
    place->Y1 = Pixels(y("Y1"));
    place->X2 = Pixels(x("X2"));
    place->Y2 = Pixels(y("Y2"));
    place->Rect = Box(x("X1"), y("Y1"), x("X2"), y("Y2"));
    place->Placed = true;
  }

  // The tab the object's tab control lists it on, else its container's; shown only when every
  // tab around it is the one the window opens with.
  void SetTab(const FormObject& object, size_t parent, ObjectPlace* place) {
    const FormObject& container = form_.Objects[parent];
    place->Tab = places_[parent].Tab;
    place->Shown = places_[parent].Shown;
    if (!IsTabControl(container)) return;
    auto listed = tab_lists_.find(parent);
    if (listed == tab_lists_.end()) listed = tab_lists_.emplace(parent, TabsOf(container)).first;
    const std::map<std::string, int32_t>& tabs = listed->second;
    auto found = tabs.find(AsciiSmall(ItemName(object)));
    if (found == tabs.end()) found = tabs.find(AsciiSmall(object.Name));
    if (found == tabs.end()) return;
    place->Tab = found->second;
    place->Shown = place->Shown && found->second == WholeNumber(Number(container, "Tab", 0));
  }

  const FormDescription& form_;
  std::vector<ObjectPlace> places_;
  std::vector<Origin> origins_;  // where each object's children are counted from
  std::map<size_t, std::map<std::string, int32_t>> tab_lists_;
};

}  // namespace

std::vector<ObjectPlace> LayOutScreen(const FormDescription& form) { return Layout(form).Run(); }

std::string ItemName(const FormObject& object) {
  std::optional<double> index = NumberValue(object.Property("Index"));
  if (!index) return object.Name;
  return object.Name + "(" + std::to_string(WholeNumber(*index)) + ")";
}

}  // namespace dovrek

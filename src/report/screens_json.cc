#include "report/screens_json.h"

#include "report/json_writer.h"

namespace dovrek {
namespace {

// A number, or null where the control has none (a menu has no place, most controls no tab).
void NumberOrNull(ObjectWriter& object, const char* key, bool has, long long value) {
  if (has) {
    object.Number(key, value);
  } else {
    object.Raw(key, "null");
  }
}

void AppendStrings(const std::vector<std::string>& texts, BufferedWriter& out) {
  out.Put('[');
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) out.Append(", ");
    AppendString(texts[i], out);
  }
  out.Put(']');
}

// {"Caption": "\"OK\"", "Font.Name": ...}: each property's source text by its name.
void AppendProperties(const std::vector<ScreenProperty>& properties, int indent, BufferedWriter& out) {
  if (properties.empty()) {
    out.Append("{}");
    return;
  }
  ObjectWriter object(indent, out);
  for (const ScreenProperty& property : properties) object.TextField(property.Name, property.Text);
  object.Close();
}

// The levels of indentation: a screen stands in the top-level array, its fields one level in,
// the items of its arrays (controls, events, components) one more, and a control's properties
// one more again.
constexpr int kScreenIndent = 4;
constexpr int kFieldIndent = kScreenIndent + 2;
constexpr int kItemIndent = kFieldIndent + 2;
constexpr int kPropertyIndent = kItemIndent + 2;

void AppendControl(const ScreenControl& c, BufferedWriter& out) {
  ObjectWriter object(kItemIndent, out);
  object.String("Name", c.Name);
  object.String("Index", c.Index);
  object.String("Class", c.Class);
  object.String("Kind", c.Kind);
  object.String("Container", c.Container);
  NumberOrNull(object, "Tab", c.Tab >= 0, c.Tab);
  object.String("Left", c.Left);
  object.String("Top", c.Top);
  object.String("Width", c.Width);
  object.String("Height", c.Height);
  NumberOrNull(object, "X", c.Placed, c.X);
  NumberOrNull(object, "Y", c.Placed, c.Y);
  NumberOrNull(object, "W", c.Placed, c.W);
  NumberOrNull(object, "H", c.Placed, c.H);
  object.String("Caption", c.Caption);
  object.String("Text", c.Text);
  object.String("TabIndex", c.TabIndex);
  object.String("Label", c.Label);
  object.Key("Items");
  AppendStrings(c.Items, out);
  object.Key("Properties");
  AppendProperties(c.Properties, kPropertyIndent, out);
  object.Key("Events");
  AppendStrings(c.Events, out);
  object.Close();
}

void AppendEvent(const ScreenEvent& e, BufferedWriter& out) {
  ObjectWriter object(kItemIndent, out);
  object.String("Control", e.Control);
  object.String("Event", e.Event);
  object.String("Procedure", e.Procedure);
  object.Raw("OnScreen", e.OnScreen ? "true" : "false");
  object.Close();
}

void AppendScreen(const Screen& s, BufferedWriter& out) {
  ObjectWriter object(kScreenIndent, out);
  object.String("FileName", s.FileName);
  object.String("Name", s.Name);
  object.String("Kind", s.Kind);
  object.String("Caption", s.Caption);
  object.String("Description", s.Description);
  object.Number("Width", s.Width);
  object.Number("Height", s.Height);
  object.String("Note", s.Note);
  object.Key("Objects");
  AppendArray(
      s.Objects,
      [&](const ScreenComponent& component) {
        ObjectWriter item(kItemIndent, out);
        item.String("Id", component.Id);
        item.String("FileName", component.FileName);
        item.Close();
      },
      out, kFieldIndent);
  object.Key("Controls");
  AppendArray(s.Controls, [&](const ScreenControl& c) { AppendControl(c, out); }, out, kFieldIndent);
  object.Key("Events");
  AppendArray(s.Events, [&](const ScreenEvent& e) { AppendEvent(e, out); }, out, kFieldIndent);
  object.Close();
}

}  // namespace

void AppendScreens(const std::vector<Screen>& screens, BufferedWriter& out) {
  AppendArray(screens, [&](const Screen& s) { AppendScreen(s, out); }, out);
}

}  // namespace dovrek

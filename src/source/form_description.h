#pragma once
// The description of a window that heads every form, user control, property page and user
// document source: the components it uses, then the window and each control on it, nested as
// they are in their containers, with every property as the source writes it.
//
//   VERSION 5.00
//   Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
//   Begin VB.Form frmMain
//      Caption         =   "Main"
//      BeginProperty Font
//         Name            =   "MS UI Gothic"
//      EndProperty
//      Begin VB.CommandButton cmdOK
//         Caption         =   "OK"
//      End
//   End
//   Attribute VB_Name = "frmMain"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dovrek {

// One property line. Name is the key as written, prefixed by the names of the property groups
// around it ("Font.Name", "Tab(0).Control(1)"); Text is everything after "=", blanks around it
// removed and a trailing comment kept ("3  'Fixed Dialog", "\"OK\"", "$\"a.frx\":0000").
struct FormProperty {
  std::string Name;
  std::string Text;

  bool operator==(const FormProperty&) const = default;
};

// The window itself or one control on it.
struct FormObject {
  std::string Library;  // "VB", "MSComctlLib", ...; empty when the class names none
  std::string Class;    // "Form", "CommandButton", ...
  std::string Name;
  int32_t Parent = -1;  // the container's index in FormDescription::Objects; -1 for the window
  std::vector<FormProperty> Properties;

  // The source text of a property, found without regard to letter case; empty when the
  // object does not set it (and so keeps the class's default).
  std::string_view Property(std::string_view name) const;
  bool Has(std::string_view name) const;
  // "VB.CommandButton", or the class alone when it names no library.
  std::string QualifiedClass() const;
  // True for the built-in library ("VB", or none named).
  bool IsBuiltIn() const;

  bool operator==(const FormObject&) const = default;
};

// One `Object = ...` line: a component the window's controls come from.
struct ComponentReference {
  std::string Id;        // "{GUID}#2.0#0", or "*\A..\Ctl.vbp" for a project's own controls
  std::string FileName;  // "MSCOMCTL.OCX"; empty when the line names no file

  bool operator==(const ComponentReference&) const = default;
};

struct FormDescription {
  std::string Version;  // "5.00"
  std::vector<ComponentReference> Components;
  // The window first, then every control in the order the source lists them, which is the
  // order they are drawn in (the later on top). Empty when the source has no description.
  std::vector<FormObject> Objects;
  // False when the source ended before the window's own "End": the objects read so far are
  // kept, the description is damaged.
  bool Complete = false;

  bool operator==(const FormDescription&) const = default;
};

// Reads a description line by line. Feed lines from the top of the file until Take answers
// false; the line it refused is the first of the code.
class FormDescriptionReader {
 public:
  // Takes one line (its line end removed). Answers false when the line is not part of the
  // description: the window's "End" has been read, or the line cannot start one.
  bool Take(std::string_view line);
  // The description read so far; the reader is empty afterwards.
  FormDescription Finish();

 private:
  bool TakeHeader(std::string_view line);
  bool TakeBody(std::string_view line);
  void Begin(std::string_view rest);
  void AddProperty(std::string_view line);

  FormDescription description_;
  std::vector<int32_t> open_;          // the objects whose End is still to come
  std::vector<std::string> groups_;    // the open property groups, outermost first
  bool ended_ = false;
};

// The description at the top of a whole source text; lines end with LF or CR LF.
FormDescription ReadFormDescription(std::string_view text);

}  // namespace dovrek

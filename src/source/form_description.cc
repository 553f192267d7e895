#include "source/form_description.h"

#include <utility>

#include "base/text_helpers.h"

namespace dovrek {
namespace {

// The text with blanks and tabs removed at both ends (descriptions are indented with blanks;
// a hand-edited one may hold tabs).
std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The word a line starts with, and what follows it with its leading blanks removed.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view text) {
  const size_t end = text.find_first_of(" \t");
  if (end == std::string_view::npos) return {text, {}};
  return {text.substr(0, end), TrimBlanks(text.substr(end))};
}

// A double-quoted text with its quotes removed and each doubled quote made single; a text
// that does not start with a quote as it stands.
std::string Unquoted(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty() || text.front() != '"') return std::string(text);
  std::string value;
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] != '"') {
      value += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '"') {
      value += '"';
      ++i;
    } else {
      break;
    }
  }
  return value;
}

// `"{GUID}#2.0#0"; "MSCOMCTL.OCX"`: the component's id and its file.
ComponentReference ComponentOf(std::string_view value) {
  ComponentReference reference;
  const size_t semicolon = value.find(';');
  reference.Id = Unquoted(value.substr(0, semicolon));
  if (semicolon != std::string_view::npos) reference.FileName = Unquoted(value.substr(semicolon + 1));
  return reference;
}

// The name and the value of a "Name = Value" line; false when the line holds no "=".
bool SplitAssignment(std::string_view line, std::string_view* name, std::string_view* value) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  *name = TrimBlanks(line.substr(0, equals));
  *value = TrimBlanks(line.substr(equals + 1));
  return !name->empty();
}

}  // namespace

std::string_view FormObject::Property(std::string_view name) const {
  for (const FormProperty& property : Properties) {
    if (EqualsNoCase(property.Name, name)) return property.Text;
  }
  return {};
}

bool FormObject::Has(std::string_view name) const {
  for (const FormProperty& property : Properties) {
    if (EqualsNoCase(property.Name, name)) return true;
  }
  return false;
}

std::string FormObject::QualifiedClass() const {
  return Library.empty() ? Class : Library + "." + Class;
}

bool FormObject::IsBuiltIn() const { return Library.empty() || EqualsNoCase(Library, "VB"); }

bool FormDescriptionReader::Take(std::string_view line) {
  if (ended_) return false;
  return open_.empty() ? TakeHeader(line) : TakeBody(line);
}

// Before the window's Begin: the version, the components and blank lines.
bool FormDescriptionReader::TakeHeader(std::string_view line) {
  const std::string_view text = TrimBlanks(line);
  if (text.empty()) return true;
  auto [word, rest] = FirstWord(text);
  if (EqualsNoCase(word, "VERSION")) {
    description_.Version = std::string(rest);
    return true;
  }
  std::string_view name, value;
  if (SplitAssignment(text, &name, &value) && EqualsNoCase(name, "Object")) {
    description_.Components.push_back(ComponentOf(value));
    return true;
  }
  if (EqualsNoCase(word, "Begin") && description_.Objects.empty() && !rest.empty()) {
    Begin(rest);
    return true;
  }
  ended_ = true;  // code, or a file with no description
  return false;
}

bool FormDescriptionReader::TakeBody(std::string_view line) {
  const std::string_view text = TrimBlanks(line);
  auto [word, rest] = FirstWord(text);
  if (EqualsNoCase(word, "Begin") && !rest.empty()) {
    Begin(rest);
  } else if (EqualsNoCase(text, "End")) {
    open_.pop_back();
    groups_.clear();
    if (open_.empty()) {
      description_.Complete = true;
      ended_ = true;
    }
  } else if (EqualsNoCase(word, "BeginProperty") && !rest.empty()) {
    groups_.emplace_back(FirstWord(rest).first);
  } else if (EqualsNoCase(word, "EndProperty")) {
    if (!groups_.empty()) groups_.pop_back();
  } else if (EqualsNoCase(word, "Attribute")) {
    ended_ = true;  // the code starts before the window's End: a damaged description
    return false;
  } else {
    AddProperty(text);
  }
  return true;
}

// "VB.CommandButton cmdOK": a new object inside the innermost open one.
void FormDescriptionReader::Begin(std::string_view rest) {
  auto [type, name] = FirstWord(rest);
  FormObject object;
  const size_t dot = type.find('.');
  if (dot == std::string_view::npos) {
    object.Class = std::string(type);
  } else {
    object.Library = std::string(type.substr(0, dot));
    object.Class = std::string(type.substr(dot + 1));
  }
  object.Name = std::string(FirstWord(name).first);
  object.Parent = open_.empty() ? -1 : open_.back();
  open_.push_back(static_cast<int32_t>(description_.Objects.size()));
  description_.Objects.push_back(std::move(object));
  groups_.clear();
}

void FormDescriptionReader::AddProperty(std::string_view line) {
  std::string_view name, value;
  if (!SplitAssignment(line, &name, &value)) return;
  FormProperty property;
  for (const std::string& group : groups_) property.Name += group + ".";
  property.Name += name;
  property.Text = std::string(value);
  description_.Objects[static_cast<size_t>(open_.back())].Properties.push_back(std::move(property));
}

FormDescription FormDescriptionReader::Finish() {
  FormDescription description = std::move(description_);
  *this = FormDescriptionReader();
  return description;
}

FormDescription ReadFormDescription(std::string_view text) {
  FormDescriptionReader reader;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!reader.Take(line)) break;
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return reader.Finish();
}

}  // namespace dovrek

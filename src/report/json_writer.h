#pragma once
// Writes JSON field by field straight to the output, indented by two spaces a level: building
// a JSON tree first would copy every text of the model and cost more than reading the sources.

#include <string>
#include <string_view>
#include <vector>

#include "os/buffered_writer.h"

namespace dovrek {

// A JSON string: the text in quotes, escaped; a text that is not UTF-8 has each invalid part
// replaced by U+FFFD first.
void AppendString(std::string_view s, BufferedWriter& out);

// Writes one object, a field a line, its fields indented by `indent` + 2 spaces; Close ends it.
class ObjectWriter {
 public:
  ObjectWriter(int indent, BufferedWriter& out);
  void String(const char* key, std::string_view value);
  void Number(const char* key, long long value);
  // A value already written as JSON.
  void Raw(const char* key, std::string_view json);
  // Starts a field whose value the caller writes next.
  void Key(const char* key);
  // A field whose key is a text from the input, escaped as any string.
  void TextField(std::string_view key, std::string_view value);
  void Close();
  int indent() const { return static_cast<int>(pad_.size()); }

 private:
  std::string pad_;
  BufferedWriter& out_;
  bool first_ = true;
};

// An array whose items `each` writes, one a line, indented by `indent` + 2 spaces; "[]" when
// empty.
template <typename T, typename Each>
void AppendArray(const std::vector<T>& items, Each each, BufferedWriter& out, int indent = 2) {
  if (items.empty()) {
    out.Append("[]");
    return;
  }
  const std::string pad(static_cast<size_t>(indent), ' ');
  out.Append("[\n");
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.Append(",\n");
    out.Append(pad);
    out.Append("  ");
    each(items[i]);
  }
  out.Append("\n");
  out.Append(pad);
  out.Append("]");
}

}  // namespace dovrek

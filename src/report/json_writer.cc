#include "report/json_writer.h"

#include <cstdint>

#include "base/byte_words.h"
#include "codepage/text_codec.h"

namespace dovrek {
namespace {

// The escape of a character JSON does not take as it stands; empty for a control character
// without a short escape, written as \u00XX.
std::string_view ShortEscape(unsigned char c) {
  switch (c) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\b':
      return "\\b";
    case '\f':
      return "\\f";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      return {};
  }
}

void AppendEscape(unsigned char c, BufferedWriter& out) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string_view escape = ShortEscape(c);
  if (!escape.empty()) {
    out.Append(escape);
    return;
  }
  out.Append("\\u00");
  out.Put(kHex[c >> 4]);
  out.Put(kHex[c & 0xF]);
}

// Whether eight bytes stand at s[i] and none of them must be escaped (a control character,
// '"' or '\\'): such words are passed over at once.
bool PlainWordAt(std::string_view s, size_t i) {
  uint64_t word;
  return WordAt(s, i, &word) &&
         (BytesBelow(word, 0x20) | BytesEqual(word, '"') | BytesEqual(word, '\\')) == 0;
}

}  // namespace

void AppendString(std::string_view s, BufferedWriter& out) {
  if (!IsValidUtf8(s)) {
    std::string valid;
    AppendSanitizedUtf8(s, &valid);
    AppendString(valid, out);
    return;
  }
  out.Put('"');
  size_t run = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    while (PlainWordAt(s, i)) i += 8;
    if (i >= s.size()) break;
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.Append(s.substr(run, i - run));
    run = i + 1;
    AppendEscape(c, out);
  }
  out.Append(s.substr(run, s.size() - run));
  out.Put('"');
}

ObjectWriter::ObjectWriter(int indent, BufferedWriter& out)
    : pad_(static_cast<size_t>(indent), ' '), out_(out) {
  out.Append("{\n");
}

void ObjectWriter::String(const char* key, std::string_view value) {
  Key(key);
  AppendString(value, out_);
}

void ObjectWriter::Number(const char* key, long long value) {
  Key(key);
  out_.Append(std::to_string(value));
}

void ObjectWriter::Raw(const char* key, std::string_view json) {
  Key(key);
  out_.Append(json);
}

void ObjectWriter::Key(const char* key) {
  if (!first_) out_.Append(",\n");
  first_ = false;
  out_.Append(pad_);
  out_.Append("  \"");
  out_.Append(key);
  out_.Append("\": ");
}

void ObjectWriter::TextField(std::string_view key, std::string_view value) {
  if (!first_) out_.Append(",\n");
  first_ = false;
  out_.Append(pad_);
  out_.Append("  ");
  AppendString(key, out_);
  out_.Append(": ");
  AppendString(value, out_);
}

void ObjectWriter::Close() {
  out_.Append("\n");
  out_.Append(pad_);
  out_.Append("}");
}

}  // namespace dovrek

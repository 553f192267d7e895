#include "report/json_dump.h"

#include <cstdint>
#include <map>

#include "platform/byte_words.h"
#include "platform/text_codec.h"
#include "source/complete_head.h"

namespace dovrek {
namespace {

// Written field by field straight to the output, indented by two spaces a level: building a JSON
// tree first would copy every text of the model and cost more than reading the sources.

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

// Writes one object, a field a line, indented by `indent` spaces; Close ends it.
class ObjectWriter {
 public:
  ObjectWriter(int indent, BufferedWriter& out) : pad_(indent, ' '), out_(out) {
    out.Append("{\n");
  }
  void String(const char* key, const std::string& value) {
    Key(key);
    AppendString(value, out_);
  }
  // A value already written as JSON.
  void Raw(const char* key, std::string_view json) {
    Key(key);
    out_.Append(json);
  }
  void Close() {
    out_.Append("\n");
    out_.Append(pad_);
    out_.Append("}");
  }
  // Starts a field whose value the caller writes next.
  void Key(const char* key) {
    if (!first_) out_.Append(",\n");
    first_ = false;
    out_.Append(pad_);
    out_.Append("  \"");
    out_.Append(key);
    out_.Append("\": ");
  }

 private:
  std::string pad_;
  BufferedWriter& out_;
  bool first_ = true;
};

struct Field {
  const char* key;
  const std::string* value;
};

void AppendObject(std::initializer_list<Field> fields, int indent, BufferedWriter& out) {
  ObjectWriter object(indent, out);
  for (const Field& f : fields) object.String(f.key, *f.value);
  object.Close();
}

template <typename T, typename Each>
void AppendArray(const std::vector<T>& items, Each each, BufferedWriter& out) {
  if (items.empty()) {
    out.Append("[]");
    return;
  }
  out.Append("[\n");
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.Append(",\n");
    out.Append("    ");
    each(items[i]);
  }
  out.Append("\n  ]");
}

// The number of entries of each kind a member file holds, by the entries' FileName.
using KindCounts = std::map<std::string, std::map<std::string_view, int>>;

KindCounts CountKinds(const SpecificationModel& model) {
  KindCounts counts;
  for (const ProcedureEntry& e : model.Procedures) ++counts[e.FileName][e.Kind];
  return counts;
}

// {"Sub": 2, "Property Get": 1}: the kinds a file holds, in the order of kEntryKinds.
void AppendKinds(const std::map<std::string_view, int>& counts, BufferedWriter& out) {
  out.Put('{');
  bool first = true;
  for (EntryKind k : kEntryKinds) {
    std::string_view kind = KindName(k);
    auto found = counts.find(kind);
    if (found == counts.end()) continue;
    if (!first) out.Append(", ");
    first = false;
    AppendString(kind, out);
    out.Append(": ");
    out.Append(std::to_string(found->second));
  }
  out.Put('}');
}

void AppendMember(const MemberFile& m, const KindCounts* kinds, BufferedWriter& out) {
  ObjectWriter object(4, out);
  object.String("FileName", m.FileName);
  object.String("Folder", m.Folder);
  if (kinds) {
    auto found = kinds->find(m.FileName);
    object.Key("Kinds");
    static const std::map<std::string_view, int> kNone;
    AppendKinds(found == kinds->end() ? kNone : found->second, out);
  }
  object.Close();
}

void AppendProcedure(const ProcedureEntry& e, bool complete, BufferedWriter& out) {
  ObjectWriter object(4, out);
  object.String("Name", e.Name);
  object.String("Scope", e.Scope);
  object.String("FileName", e.FileName);
  object.String("Comment", e.Comment);
  object.String("Parameters", e.Parameters);
  object.String("ReturnType", e.ReturnType);
  if (complete) {
    object.String("Kind", e.Kind);
    object.Raw("Static", e.Static ? "true" : "false");
    if (e.Kind.starts_with("Declare")) {
      object.String("Lib", e.Lib);
      object.String("Alias", e.Alias);
    }
  }
  object.Close();
}

}  // namespace

void WriteModelJson(const SpecificationModel& model, bool complete, BufferedWriter& out) {
  const ProjectInfo& p = model.Project;
  out.Append("{\n  \"project\": ");
  AppendObject({{"Title", &p.Title},
                {"Name", &p.Name},
                {"ExeName32", &p.ExeName32},
                {"Command32", &p.Command32},
                {"HelpFile", &p.HelpFile},
                {"VersionFileDescription", &p.VersionFileDescription},
                {"VersionCompanyName", &p.VersionCompanyName},
                {"MajorVer", &p.MajorVer},
                {"MinorVer", &p.MinorVer},
                {"RevisionVer", &p.RevisionVer}},
               2, out);
  if (complete) {
    out.Append(",\n  \"encoding\": ");
    AppendString(model.Encoding.empty() ? "cp932" : model.Encoding, out);
  }
  const KindCounts kinds = complete ? CountKinds(model) : KindCounts();
  auto member = [&](const MemberFile& m) { AppendMember(m, complete ? &kinds : nullptr, out); };
  const std::pair<const char*, const std::vector<MemberFile>*> lists[] = {
      {"forms", &model.FormFiles},        {"modules", &model.ModuleFiles},
      {"classes", &model.ClassFiles},     {"controls", &model.ControlFiles},
      {"pages", &model.PageFiles},        {"documents", &model.DocumentFiles},
      {"designers", &model.DesignerFiles}};
  for (size_t i = 0; i < std::size(lists); ++i) {
    if (i >= 3 && !complete) break;  // the component lists belong to complete mode
    out.Append(",\n  \"");
    out.Append(lists[i].first);
    out.Append("\": ");
    AppendArray(*lists[i].second, member, out);
  }
  out.Append(",\n  \"procedures\": ");
  AppendArray(
      model.Procedures, [&](const ProcedureEntry& e) { AppendProcedure(e, complete, out); }, out);
  out.Append("\n}\n");
}

std::string ModelToJson(const SpecificationModel& model, bool complete) {
  std::string json;
  BufferedWriter out(&json);
  WriteModelJson(model, complete, out);
  out.Flush();
  return json;
}

}  // namespace dovrek

#include "report/json_dump.h"

#include <map>

#include "platform/text_codec.h"
#include "source/complete_head.h"

namespace dovrek {
namespace {

// Written field by field into one string, indented by two spaces a level: building a JSON tree
// first would copy every text of the model and cost more than reading the sources.

void AppendString(std::string_view s, std::string* out) {
  if (!IsValidUtf8(s)) {
    std::string valid;
    AppendSanitizedUtf8(s, &valid);
    AppendString(valid, out);
    return;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  out->push_back('"');
  size_t run = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out->append(s.data() + run, i - run);
    run = i + 1;
    switch (c) {
      case '"':
        out->append("\\\"");
        break;
      case '\\':
        out->append("\\\\");
        break;
      case '\b':
        out->append("\\b");
        break;
      case '\f':
        out->append("\\f");
        break;
      case '\n':
        out->append("\\n");
        break;
      case '\r':
        out->append("\\r");
        break;
      case '\t':
        out->append("\\t");
        break;
      default:
        out->append("\\u00");
        out->push_back(kHex[c >> 4]);
        out->push_back(kHex[c & 0xF]);
    }
  }
  out->append(s.data() + run, s.size() - run);
  out->push_back('"');
}

// Writes one object, a field a line, indented by `indent` spaces; Close ends it.
class ObjectWriter {
 public:
  ObjectWriter(int indent, std::string* out) : pad_(indent, ' '), out_(out) { out->append("{\n"); }
  void String(const char* key, const std::string& value) {
    Key(key);
    AppendString(value, out_);
  }
  // A value already written as JSON.
  void Raw(const char* key, std::string_view json) {
    Key(key);
    out_->append(json);
  }
  void Close() { out_->append("\n").append(pad_).append("}"); }

 private:
  void Key(const char* key) {
    if (!first_) out_->append(",\n");
    first_ = false;
    out_->append(pad_).append("  \"").append(key).append("\": ");
  }

  std::string pad_;
  std::string* out_;
  bool first_ = true;
};

struct Field {
  const char* key;
  const std::string* value;
};

void AppendObject(std::initializer_list<Field> fields, int indent, std::string* out) {
  ObjectWriter object(indent, out);
  for (const Field& f : fields) object.String(f.key, *f.value);
  object.Close();
}

template <typename T, typename Each>
void AppendArray(const std::vector<T>& items, Each each, std::string* out) {
  if (items.empty()) {
    out->append("[]");
    return;
  }
  out->append("[\n");
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out->append(",\n");
    out->append("    ");
    each(items[i]);
  }
  out->append("\n  ]");
}

// The number of entries of each kind a member file holds, by the entries' FileName.
using KindCounts = std::map<std::string, std::map<std::string_view, int>>;

KindCounts CountKinds(const SpecificationModel& model) {
  KindCounts counts;
  for (const ProcedureEntry& e : model.Procedures) ++counts[e.FileName][e.Kind];
  return counts;
}

// {"Sub": 2, "Property Get": 1}: the kinds a file holds, in the order of kEntryKinds.
std::string KindsObject(const std::map<std::string_view, int>& counts) {
  std::string json = "{";
  for (EntryKind k : kEntryKinds) {
    std::string_view kind = KindName(k);
    auto found = counts.find(kind);
    if (found == counts.end()) continue;
    if (json.size() > 1) json.append(", ");
    AppendString(kind, &json);
    json.append(": ").append(std::to_string(found->second));
  }
  return json + "}";
}

void AppendMember(const MemberFile& m, const KindCounts* kinds, std::string* out) {
  ObjectWriter object(4, out);
  object.String("FileName", m.FileName);
  object.String("Folder", m.Folder);
  if (kinds) {
    auto found = kinds->find(m.FileName);
    object.Raw("Kinds", found == kinds->end() ? "{}" : KindsObject(found->second));
  }
  object.Close();
}

void AppendProcedure(const ProcedureEntry& e, bool complete, std::string* out) {
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

std::string ModelToJson(const SpecificationModel& model, bool complete) {
  std::string out;
  const ProjectInfo& p = model.Project;
  out.append("{\n  \"project\": ");
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
               2, &out);
  if (complete) {
    out.append(",\n  \"encoding\": ");
    AppendString(model.Encoding.empty() ? "cp932" : model.Encoding, &out);
  }
  const KindCounts kinds = complete ? CountKinds(model) : KindCounts();
  auto member = [&](const MemberFile& m) { AppendMember(m, complete ? &kinds : nullptr, &out); };
  const std::pair<const char*, const std::vector<MemberFile>*> lists[] = {
      {"forms", &model.FormFiles},        {"modules", &model.ModuleFiles},
      {"classes", &model.ClassFiles},     {"controls", &model.ControlFiles},
      {"pages", &model.PageFiles},        {"documents", &model.DocumentFiles},
      {"designers", &model.DesignerFiles}};
  for (size_t i = 0; i < std::size(lists); ++i) {
    if (i >= 3 && !complete) break;  // the component lists belong to complete mode
    out.append(",\n  \"").append(lists[i].first).append("\": ");
    AppendArray(*lists[i].second, member, &out);
  }
  out.append(",\n  \"procedures\": ");
  AppendArray(
      model.Procedures, [&](const ProcedureEntry& e) { AppendProcedure(e, complete, &out); }, &out);
  out.append("\n}\n");
  return out;
}

}  // namespace dovrek

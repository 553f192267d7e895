#include "run/json_dump.h"

#include "platform/text_codec.h"

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

struct Field {
  const char* key;
  const std::string* value;
};

void AppendObject(std::initializer_list<Field> fields, int indent, std::string* out) {
  std::string pad(indent, ' ');
  out->append("{\n");
  bool first = true;
  for (const Field& f : fields) {
    if (!first) out->append(",\n");
    first = false;
    out->append(pad).append("  \"").append(f.key).append("\": ");
    AppendString(*f.value, out);
  }
  out->append("\n").append(pad).append("}");
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

}  // namespace

std::string ModelToJson(const SpecificationModel& model) {
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
  auto member = [&out](const MemberFile& m) {
    AppendObject({{"FileName", &m.FileName}, {"Folder", &m.Folder}}, 4, &out);
  };
  out.append(",\n  \"forms\": ");
  AppendArray(model.FormFiles, member, &out);
  out.append(",\n  \"modules\": ");
  AppendArray(model.ModuleFiles, member, &out);
  out.append(",\n  \"classes\": ");
  AppendArray(model.ClassFiles, member, &out);
  out.append(",\n  \"procedures\": ");
  AppendArray(
      model.Procedures,
      [&out](const ProcedureEntry& e) {
        AppendObject({{"Name", &e.Name},
                      {"Scope", &e.Scope},
                      {"FileName", &e.FileName},
                      {"Comment", &e.Comment},
                      {"Parameters", &e.Parameters},
                      {"ReturnType", &e.ReturnType}},
                     4, &out);
      },
      &out);
  out.append("\n}\n");
  return out;
}

}  // namespace dovrek

#include "report/json_dump.h"

#include <cstdint>
#include <map>

#include "model/member_kind.h"
#include "os/replacing_file.h"
#include "report/json_writer.h"
#include "report/screens_json.h"
#include "source/complete_head.h"

namespace dovrek {
namespace {

struct Field {
  const char* key;
  const std::string* value;
};

void AppendObject(std::initializer_list<Field> fields, int indent, BufferedWriter& out) {
  ObjectWriter object(indent, out);
  for (const Field& f : fields) object.String(f.key, *f.value);
  object.Close();
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
  if (m.Missing) object.Raw("Missing", "true");  // only in runs that went on without it
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
    AppendString(EncodingName(model.SourceEncoding), out);
  }
  const KindCounts kinds = complete ? CountKinds(model) : KindCounts();
  auto member = [&](const MemberFile& m) { AppendMember(m, complete ? &kinds : nullptr, out); };
  for (const MemberKindRow& row : kMemberKinds) {
    if (!row.ReadIn(complete)) continue;
    out.Append(",\n  \"");
    out.Append(row.json_key);
    out.Append("\": ");
    AppendArray(model.Files(row.kind), member, out);
  }
  out.Append(",\n  \"procedures\": ");
  AppendArray(
      model.Procedures, [&](const ProcedureEntry& e) { AppendProcedure(e, complete, out); }, out);
  if (complete && model.ScreensDescribed) {
    out.Append(",\n  \"screens\": ");
    AppendScreens(model.Screens, out);
  }
  out.Append("\n}\n");
}

std::string ModelToJson(const SpecificationModel& model, bool complete) {
  std::string json;
  BufferedWriter out(&json);
  WriteModelJson(model, complete, out);
  out.Flush();
  return json;
}

Status WriteJsonFile(const std::string& native_path, const SpecificationModel& model, bool complete,
                     OutputTransaction* transaction) {
  ReplacingFile file(transaction);
  if (Status opened = file.Open(native_path); !opened.ok()) return opened;
  WriteModelJson(model, complete, file.writer());
  return file.Commit();
}

namespace {

class JsonWriter : public ReportWriter {
 public:
  JsonWriter(std::string native_path, bool complete, OutputTransaction* transaction)
      : path_(std::move(native_path)), complete_(complete), transaction_(transaction) {}
  Status Write(const SpecificationModel& model, ProgressWindow&) override {
    return WriteJsonFile(path_, model, complete_, transaction_);
  }

 private:
  std::string path_;
  bool complete_;
  OutputTransaction* transaction_;
};

}  // namespace

std::unique_ptr<ReportWriter> JsonReportWriter(std::string native_path, bool complete,
                                               OutputTransaction* transaction) {
  return std::make_unique<JsonWriter>(std::move(native_path), complete, transaction);
}

}  // namespace dovrek

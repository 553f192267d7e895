#include "source/project_reader.h"

#include <array>
#include <vector>

#include "model/member_kind.h"
#include "text/line_reader.h"
#include "source/source_messages.h"
#include "texts/failure_messages.h"
#include "base/text_helpers.h"

namespace dovrek {
namespace {

struct SingleKey {
  const char* key;
  std::string ProjectInfo::*field;
};

constexpr std::array<SingleKey, 10> kSingleKeys = {{
    {"TITLE", &ProjectInfo::Title},
    {"Name", &ProjectInfo::Name},
    {"ExeName32", &ProjectInfo::ExeName32},
    {"Command32", &ProjectInfo::Command32},
    {"HELPFILE", &ProjectInfo::HelpFile},
    {"VersionFileDescription", &ProjectInfo::VersionFileDescription},
    {"VersionCompanyName", &ProjectInfo::VersionCompanyName},
    {"MajorVer", &ProjectInfo::MajorVer},
    {"MinorVer", &ProjectInfo::MinorVer},
    {"RevisionVer", &ProjectInfo::RevisionVer},
}};

enum class KeyMatch { kNone, kValue, kUnusable };

// A line names a key when it begins with the key, in any letter case, followed by "=";
// "RevisionVersion=0" or "FormX=1" name no key. A line that is the key alone cannot be used,
// nor one whose value holds a NUL byte: a path ends at the NUL for the system, so the file read
// would not be the one named.
KeyMatch MatchKey(std::string_view line, std::string_view key) {
  if (!StartsWithNoCase(line, key)) return KeyMatch::kNone;
  if (line.size() == key.size()) return KeyMatch::kUnusable;
  if (line[key.size()] != '=') return KeyMatch::kNone;
  return line.find('\0', key.size()) == std::string_view::npos ? KeyMatch::kValue
                                                               : KeyMatch::kUnusable;
}

// The line's value after its key and "=", every double quote removed.
std::string RawValue(std::string_view line, std::string_view key) {
  return RemoveDoubleQuotes(line.substr(key.size() + 1));
}

// Splits a path into its segments at "\".
std::vector<std::string_view> Segments(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t pos = 0;
  while (true) {
    size_t slash = path.find('\\', pos);
    parts.push_back(path.substr(pos, slash == std::string_view::npos ? path.npos : slash - pos));
    if (slash == std::string_view::npos) break;
    pos = slash + 1;
  }
  return parts;
}

// Collapses "." and ".." segments lexically; nullopt when ".." climbs above the first segment.
std::optional<std::vector<std::string_view>> Collapse(std::vector<std::string_view> parts) {
  std::vector<std::string_view> out;
  for (std::string_view part : parts) {
    if (part == "." || (part.empty() && !out.empty())) continue;
    if (part == "..") {
      if (out.size() <= 1) return std::nullopt;
      out.pop_back();
      continue;
    }
    out.push_back(part);
  }
  return out;
}

// The segments that are not empty; nullopt stays nullopt.
std::optional<std::vector<std::string_view>> NonEmpty(
    std::optional<std::vector<std::string_view>> parts) {
  if (!parts) return parts;
  std::erase(*parts, std::string_view());
  return parts;
}

class ProjectFileReader {
 public:
  ProjectFileReader(const SourcePath& path, const Options& options, SpecificationModel* model)
      : path_(path), folder_(FolderPart(path.windows())), options_(options), model_(model) {}

  // Reads every line. A line that cannot be used ends the taking of values, but the rest of
  // the file is still looked through for the "Type=" line that every VB6 project file has: a
  // file without one is refused as no project at all, whatever its lines hold.
  Status Read() {
    LineReader reader(model_->SourceEncoding);
    if (Status opened = reader.Open(path_); !opened.ok()) return opened;
    std::string line;
    Status unusable;
    bool typed = false;
    bool group = false;
    while (reader.ReadLine(&line)) {
      if (reader.LineNumber() == 1) group = StartsWithNoCase(line, "VBGROUP");
      typed = typed || MatchKey(line, "Type") == KeyMatch::kValue;
      if (unusable.ok() && !TakeLine(line)) {
        unusable = Status::BadInput(
            LineMessage(path_.display(), reader.LineNumber(), kUnusableProjectLine));
      }
    }
    if (!reader.status().ok()) return reader.status();
    if (!typed) {
      return Status::WrongKind(
          FileMessage(path_.display(), group ? kProjectGroupNotRun : kNotAProject));
    }
    return unusable;
  }

 private:
  bool TakeLine(std::string_view line) {
    for (const SingleKey& key : kSingleKeys) {
      KeyMatch match = MatchKey(line, key.key);
      if (match == KeyMatch::kUnusable) return false;
      if (match == KeyMatch::kValue) model_->Project.*key.field = RawValue(line, key.key);
    }
    for (const MemberKindRow& row : kMemberKinds) {
      if (!row.ReadIn(options_.Complete)) continue;
      KeyMatch match = MatchKey(line, row.key);
      if (match == KeyMatch::kUnusable) return false;
      if (match == KeyMatch::kValue) AddMember(row, RawValue(line, row.key));
    }
    return true;
  }

  void AddMember(const MemberKindRow& row, std::string value) {
    size_t separator = value.find(row.separator);
    if (separator != std::string::npos) value.erase(0, separator + 1);
    if (Options::On(options_.Dir) &&
        LiesOutsideProjectFolder(folder_, std::string(TrimSpaces(value)))) {
      return;
    }
    model_->Files(row.kind).push_back(MemberFile{FileNamePart(value), FolderPart(value)});
  }

  const SourcePath& path_;
  std::string folder_;
  const Options& options_;
  SpecificationModel* model_;
};

}  // namespace

bool LiesOutsideProjectFolder(const std::string& project_folder, const std::string& member_path) {
  std::string joined =
      IsAbsoluteWindowsPath(member_path) ? member_path : project_folder + "\\" + member_path;
  std::optional<std::vector<std::string_view>> member = NonEmpty(Collapse(Segments(joined)));
  // The project folder as typed may hold "." and ".." too (app\..\app).
  std::optional<std::vector<std::string_view>> root = NonEmpty(Collapse(Segments(project_folder)));
  // A path that comes back to the project folder itself (an empty one, say) lies inside it.
  if (!member || !root || member->size() < root->size()) return true;
  for (size_t i = 0; i < root->size(); ++i) {
    if (!EqualsNoCase((*member)[i], (*root)[i])) return true;
  }
  return false;
}

Status ReadProject(const SourcePath& project_path, const Options& options,
                   SpecificationModel* model) {
  model->ClearProject();
  return ProjectFileReader(project_path, options, model).Read();
}

}  // namespace dovrek

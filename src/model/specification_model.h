#pragma once
// The in-memory model of one run: what the project file says about the project, the source
// files it lists, and every Sub and Function found in them. Texts are UTF-8; an empty text
// means "not given".

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codepage/encoding.h"
#include "model/member_kind.h"
#include "model/screen.h"

namespace dovrek {

// Values of the project file's keys, double quotes removed.
struct ProjectInfo {
  std::string Title;
  std::string Name;
  std::string ExeName32;
  std::string Command32;
  std::string HelpFile;
  std::string VersionFileDescription;
  std::string VersionCompanyName;
  std::string MajorVer;
  std::string MinorVer;
  std::string RevisionVer;

  bool operator==(const ProjectInfo&) const = default;
};

// One source file of the project: the file-name part of its path and the folder part as the
// project file writes it (relative to the project folder, in Windows form).
struct MemberFile {
  std::string FileName;
  std::string Folder;
  // Set when a run told to go on without missing members found no file for it.
  bool Missing = false;

  bool operator==(const MemberFile&) const = default;
};

// One Sub or Function. Comment holds zero or more lines, each followed by "\n".
struct ProcedureEntry {
  std::string Name;
  std::string Scope;
  std::string FileName;
  std::string Comment;
  std::string Parameters;
  std::string ReturnType;
  // Complete mode only (empty or false otherwise): "Sub", "Function", "Property Get",
  // "Property Let", "Property Set", "Declare Sub", "Declare Function" or "Event"; whether the
  // head says Static; a Declare's library and alias, quotes removed.
  std::string Kind = {};
  bool Static = false;
  std::string Lib = {};
  std::string Alias = {};

  bool operator==(const ProcedureEntry&) const = default;
};

struct SpecificationModel {
  ProjectInfo Project;
  // The member files of each kind (see kMemberKinds), in the order of their lines in the
  // project file; the kinds read only in complete mode stay empty in other runs.
  std::array<std::vector<MemberFile>, kMemberKindCount> Members;
  std::vector<ProcedureEntry> Procedures;
  // Complete mode only: the screens of the window members, in the order of their lists (the
  // kinds that have a screen: forms, user controls, property pages, user documents); ScreensDescribed tells a run that described
  // them (maybe none) from one that left them out.
  std::vector<Screen> Screens;
  bool ScreensDescribed = false;
  // The encoding the sources without a byte-order mark are read in, as decided for the run.
  Encoding SourceEncoding = Encoding::kCp932;

  std::vector<MemberFile>& Files(MemberKind kind) { return Members[static_cast<size_t>(kind)]; }
  const std::vector<MemberFile>& Files(MemberKind kind) const {
    return Members[static_cast<size_t>(kind)];
  }
  // The index of the last procedure; -1 when there is none.
  int32_t LastProcedure() const { return static_cast<int32_t>(Procedures.size()) - 1; }

  // Empties the project information and the member lists.
  void ClearProject();

  bool operator==(const SpecificationModel&) const = default;
};

// How source files without a byte-order mark are to be decoded: in the encoding named, or as
// decided once for the whole project from its files (Auto). Neither chosen follows the mode:
// decided in complete mode, code page 932 otherwise.
struct SourceEncodingChoice {
  std::optional<Encoding> Named;
  bool Auto = false;

  bool operator==(const SourceEncodingChoice&) const = default;
};

// The choice a name stands for: an encoding's name (EncodingNamed) or "auto", in any letter
// case; nullopt for any other text.
std::optional<SourceEncodingChoice> SourceEncodingChoiceNamed(std::string_view name);

// A check box's three states. The settings file may hold any 16-bit number for a box: a value
// outside these three is kept as it stands (saving writes it back unchanged) and counts as off.
enum class CheckState : int16_t { kOff = 0, kOn = 1, kGreyed = 2 };

// kOn for true, kOff for false.
constexpr CheckState CheckStateOf(bool on) { return on ? CheckState::kOn : CheckState::kOff; }

// The six check boxes. A flag is on only when it is kOn (a greyed box counts as off).
struct Options {
  CheckState Xls = CheckState::kOff;
  CheckState Txt = CheckState::kOff;
  CheckState Cmt = CheckState::kOff;
  CheckState Func = CheckState::kOff;
  CheckState Dir = CheckState::kOff;
  CheckState Trim = CheckState::kOff;

  // Complete mode: every procedure kind and declaration, describing comments as people write
  // them. Off by default; not one of the check boxes.
  bool Complete = false;
  SourceEncodingChoice Source;
  // Complete mode: describe the screens of the window members. On unless turned off.
  bool Screens = true;
  // Go on without the member files that are not there (each is marked Missing) instead of
  // stopping at the first missing form, module or class. Not one of the check boxes.
  bool SkipMissing = false;

  static bool On(CheckState flag) { return flag == CheckState::kOn; }
  bool operator==(const Options&) const = default;
};

// Text dumps, so tests can print whole values.
std::ostream& operator<<(std::ostream& out, const ProjectInfo& info);
std::ostream& operator<<(std::ostream& out, const MemberFile& member);
std::ostream& operator<<(std::ostream& out, const ProcedureEntry& entry);

}  // namespace dovrek

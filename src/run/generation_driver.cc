#include "run/generation_driver.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

#include "model/member_kind.h"
#include "text/encoding_decision.h"
#include "base/text_helpers.h"
#include "run/stage_guard.h"
#include "source/screen_reader.h"
#include "run/run_messages.h"

namespace dovrek {
namespace {

// Shows a failed stage, as the user's mistake (a caution) when it names a file of the wrong
// kind, or an input missing when `missing_input_cautions`; answers whether it succeeded.
bool Passed(RunContext& run, const Status& status, bool missing_input_cautions = false) {
  if (status.IsWrongKind() || (missing_input_cautions && status.IsNotFound())) {
    run.msg.ShowMessage(status.message());
  } else if (!status.ok()) {
    run.msg.ShowError(status.message());
  }
  return status.ok();
}

Status ProjectRead(RunContext& run, const SourcePath& project_path) {
  return GuardedStage(project_path.display(), [&] { return run.stages.ReadProject(project_path); });
}

Status ReadGuarded(RunContext& run, const SourcePath& path) {
  return GuardedStage(path.display(), [&] { return run.stages.ReadModule(path); });
}

// The paths of a kind's members, each looked up once; an empty path for a member skipped as
// missing, which is added to *missing (as messages show it) when its kind allows that, or the
// run goes on without missing members, and its file is not there. A member skipped on the run's
// say-so is marked Missing, for the file lists.
std::vector<SourcePath> MemberPaths(const SourcePath& project_path, SpecificationModel& model,
                                    const MemberKindRow& row, bool skip_missing,
                                    FolderListings& listings, std::vector<std::string>* missing) {
  std::vector<SourcePath> paths;
  for (MemberFile& member : model.Files(row.kind)) {
    SourcePath path = SourcePath::Locate(MemberPath(project_path.windows(), member), listings);
    if ((row.may_be_missing || skip_missing) && !path.IsFile()) {
      missing->push_back(path.display());
      member.Missing = skip_missing;
      path = SourcePath();
    }
    paths.push_back(std::move(path));
  }
  return paths;
}

// Reads every member of every group; closes the progress window when a member fails. Every
// member to read is named to the stages first, so that they may read ahead.
bool ReadMembers(const SourcePath& project_path, RunContext& run, FolderListings& listings,
                 std::vector<std::string>* missing) {
  std::vector<std::vector<SourcePath>> paths;
  std::vector<SourcePath> to_read;
  for (const MemberKindRow& row : kMemberKinds) {
    paths.push_back(
        MemberPaths(project_path, run.model, row, run.options.SkipMissing, listings, missing));
    std::copy_if(paths.back().begin(), paths.back().end(), std::back_inserter(to_read),
                 [](const SourcePath& path) { return !path.empty(); });
  }
  run.stages.ReadAhead(to_read);
  for (size_t g = 0; g < paths.size(); ++g) {
    if (paths[g].empty()) continue;
    run.progress.InitProgress(static_cast<int32_t>(paths[g].size()), kMemberKinds[g].reading);
    for (size_t i = 0; i < paths[g].size(); ++i) {
      if (!paths[g][i].empty() && !Passed(run, ReadGuarded(run, paths[g][i]))) {
        run.progress.Unload();
        return false;
      }
      run.progress.Progress(static_cast<int32_t>(i));
    }
  }
  return true;
}

// The encoding the options name for sources without a byte-order mark; nullopt when it is to be
// decided from the sources, as it is in complete mode when none is named.
std::optional<Encoding> NamedEncoding(const Options& options) {
  if (options.Source.Auto) return std::nullopt;
  if (options.Source.Named) return options.Source.Named;
  if (options.Complete) return std::nullopt;
  return Encoding::kCp932;
}

// Decides the encoding of a project whose encoding is to be guessed, once for all its files.
// The project file has been read as code page 932 for its member list; it is read again when
// the decision is another encoding.
bool DecideProjectEncoding(const SourcePath& project_path, RunContext& run,
                           FolderListings& listings) {
  std::vector<std::string> files{project_path.found()};
  for (const std::vector<MemberFile>& list : run.model.Members) {
    for (const MemberFile& member : list) {
      SourcePath path = SourcePath::Locate(MemberPath(project_path.windows(), member), listings);
      files.push_back(path.exists() ? path.found() : path.display());
    }
  }
  run.model.SourceEncoding = DecideEncodingOfFiles(files, project_path.disk());
  return run.model.SourceEncoding == Encoding::kCp932 ||
         Passed(run, ProjectRead(run, project_path));
}

// Reads the screen of every window member that is there (complete mode): the members of the
// kinds that have a screen. A screen that cannot be read is left out; its
// member was read a moment ago, so only a file changed under the run fails here.
void ReadScreens(const SourcePath& project_path, RunContext& run, FolderListings& listings) {
  std::map<std::string, std::vector<std::string>> subs;
  for (const ProcedureEntry& entry : run.model.Procedures) {
    if (entry.Kind == "Sub") subs[entry.FileName].push_back(entry.Name);
  }
  run.model.Screens.clear();
  for (const MemberKindRow& row : kMemberKinds) {
    if (!row.has_screen) continue;
    for (const MemberFile& member : run.model.Files(row.kind)) {
      SourcePath path = SourcePath::Locate(MemberPath(project_path.windows(), member), listings);
      if (!path.IsFile()) continue;
      auto found = subs.find(member.FileName);
      Screen screen;
      const bool read = ReadScreen(path, listings, run.model.SourceEncoding,
                                   found == subs.end() ? std::vector<std::string>() : found->second,
                                   &screen)
                            .ok();
      if (read && !screen.Kind.empty()) {  // a member with no description has no screen
        run.model.Screens.push_back(std::move(screen));
      }
    }
  }
  run.model.ScreensDescribed = true;
}

bool WriteReports(RunContext& run) {
  for (const std::unique_ptr<ReportWriter>& writer : run.writers) {
    Status written = GuardedStage("", [&] { return writer->Write(run.model, run.progress); });
    if (!Passed(run, written, /*missing_input_cautions=*/true)) return false;
  }
  return true;
}

bool ReadAndWrite(const SourcePath& project_path, RunContext& run) {
  // Only a project that is not there is "not found": a folder, a FIFO, a link loop or a
  // folder that may not be searched is named as what it is.
  if (Status problem = project_path.ReadProblem(); !problem.ok()) {
    run.msg.ShowMessage(problem.IsNotFound() ? std::string(kProjectNotFound) : problem.message());
    return false;
  }
  run.model.Procedures.clear();
  const std::optional<Encoding> named = NamedEncoding(run.options);
  run.model.SourceEncoding = named.value_or(Encoding::kCp932);
  if (!Passed(run, ProjectRead(run, project_path))) return false;
  // Folders are listed once for this run and afresh for the next, which sees new files.
  FolderListings listings(project_path.disk());
  if (!named && !DecideProjectEncoding(project_path, run, listings)) {
    return false;
  }
  run.progress.Load();
  std::vector<std::string> missing;
  if (!ReadMembers(project_path, run, listings, &missing)) return false;
  run.model.Screens.clear();
  run.model.ScreensDescribed = false;
  if (run.options.Complete && run.options.Screens) ReadScreens(project_path, run, listings);
  run.progress.Unload();
  bool written = WriteReports(run);
  if (!missing.empty()) run.msg.ShowInformation(MissingMembersInformation(missing));
  return written;
}

}  // namespace

std::string MemberPath(const std::string& project_path, const MemberFile& member) {
  if (IsAbsoluteWindowsPath(member.Folder)) return member.Folder + "\\" + member.FileName;
  return FolderPart(project_path) + "\\" + member.Folder + "\\" + member.FileName;
}

bool CreateSpecification(const SourcePath& project_path, RunContext& run) {
  const bool done = ReadAndWrite(project_path, run);
  for (const std::unique_ptr<ReportWriter>& writer : run.writers) writer->RunEnded();
  return done;
}

std::string MissingMembersInformation(const std::vector<std::string>& native_paths) {
  std::string text = kMissingMembersSkipped;
  for (const std::string& path : native_paths) text += "\n" + path;
  return text;
}

}  // namespace dovrek

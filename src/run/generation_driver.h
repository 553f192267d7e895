#pragma once
// One run, from the path of a project file to the finished reports.

#include <string>
#include <vector>

#include "model/specification_model.h"
#include "os/folder_listings.h"
#include "frontend/message_box.h"
#include "frontend/progress_window.h"
#include "os/source_path.h"
#include "report/report_writer.h"

namespace dovrek {

// The reading stages of a run. Each answers its failure, which the driver shows. A member file
// comes already looked up through the run's folder listings, so that its folder is listed once.
class RunStages {
 public:
  virtual ~RunStages() = default;
  virtual Status ReadProject(const SourcePath& project_path) = 0;
  virtual Status ReadModule(const SourcePath& path) = 0;
  // Names, before the first ReadModule, every member file ReadModule will then be asked for, in
  // that order, so that a stage may read them ahead.
  virtual void ReadAhead(const std::vector<SourcePath>& /*paths*/) {}
};

// What a run works with: the model it fills, its own copy of the flags it obeys, the windows
// it shows and the writers of its outputs.
struct RunContext {
  SpecificationModel& model;
  const Options options;
  MessageBox& msg;
  ProgressWindow& progress;
  RunStages& stages;
  const ReportWriters& writers;
};

// The path of a member file: the project folder, "\", the member's folder, "\", its file name.
// A member folder that is absolute ("\..." or "X:...") is used as it stands.
std::string MemberPath(const std::string& project_path, const MemberFile& member);

// Runs the stages in order and stops at the first that fails: the existence check of
// the project file, the project reader, every member file under the
// progress window (forms, standard modules, class modules, then user controls, property pages,
// user documents and designers), then every writer in order. A failed stage is shown here, as
// the user's mistake (a caution) when it names a file of the wrong kind or a report's missing
// input (NotFound from a writer, such as the template), as an error otherwise; an exception a
// stage lets out is an error naming the file being read. Answers true when every stage
// succeeded. Once the run is over, however it ended, each writer's RunEnded is called.
// A user control, property page, user document or designer whose file does not exist is
// skipped; once the reports are done (or have failed), one information box names every
// skipped file (MissingMembersInformation). A missing form, module or class fails the run,
// unless the options say SkipMissing: then every missing member is skipped and marked Missing.
// Member files are looked up on the disk the project file was found on.
bool CreateSpecification(const SourcePath& project_path, RunContext& run);

// The information that names the skipped files (native paths), one a line under
// kMissingMembersSkipped.
std::string MissingMembersInformation(const std::vector<std::string>& native_paths);

}  // namespace dovrek

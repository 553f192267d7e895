#pragma once
// One run, from the path of a project file to the finished reports.

#include <string>
#include <vector>

#include "model/specification_model.h"
#include "os/folder_listings.h"
#include "frontend/message_box.h"
#include "frontend/progress_window.h"
#include "os/source_path.h"

namespace dovrek {

// The stages of a run. Each reports its own failure to the user and answers false. A member
// file comes already looked up through the run's folder listings, so that its folder is listed
// once.
class RunStages {
 public:
  virtual ~RunStages() = default;
  virtual bool ReadProject(const SourcePath& project_path) = 0;
  virtual bool ReadModule(const SourcePath& path) = 0;
  // Names, before the first ReadModule, every member file ReadModule will then be asked for, in
  // that order, so that a stage may read them ahead.
  virtual void ReadAhead(const std::vector<SourcePath>& /*paths*/) {}
  virtual bool WriteWorkbookReport() = 0;
  virtual bool WriteTextReport() = 0;
};

// What a run works with: the model it fills, its own copy of the flags it obeys and the windows
// it shows.
struct RunContext {
  SpecificationModel& model;
  const Options options;
  MessageBox& msg;
  ProgressWindow& progress;
  RunStages& stages;
};

// The path of a member file: the project folder, "\", the member's folder, "\", its file name.
// A member folder that is absolute ("\..." or "X:...") is used as it stands.
std::string MemberPath(const std::string& project_path, const MemberFile& member);

// Runs the stages in order and stops at the first that answers false: the existence check of
// the project file, the project reader, every member file under the
// progress window (forms, standard modules, class modules, then user controls, property pages,
// user documents and designers), the workbook report when Xls is 1, the text report when Txt
// is 1. Answers true when every selected stage succeeded.
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

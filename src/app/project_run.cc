#include "app/project_run.h"

#include <sys/stat.h>

#include <cerrno>

#include "app/batch_outputs.h"
#include "app/output_identity.h"
#include "app/screen_pictures.h"
#include "app/startup.h"
#include "console/console_warning_reporter.h"
#include "os/native_path.h"
#include "os/system_error.h"
#include "run/file_counting_stages.h"
#include "run/generation_driver.h"
#include "run/report_writers.h"
#include "run/run_stages.h"
#include "app/app_messages.h"
#include "texts/failure_messages.h"

namespace dovrek {
namespace {

// The member files of the project read (native paths of the files found).
std::vector<std::string> MemberFiles(const SourcePath& project_path,
                                     const SpecificationModel& model) {
  std::vector<std::string> files;
  for (const std::vector<MemberFile>& list : model.Members) {
    for (const MemberFile& member : list) {
      files.push_back(SourcePath::Locate(MemberPath(project_path.windows(), member)).found());
    }
  }
  return files;
}

// The screens' pictures, in the folder the user named (made when it is not there).
Status WritePicturesInto(const std::string& folder, const std::vector<Screen>& screens,
                         OutputTransaction& transaction, DrawnScreenPictures& drawn) {
  if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
    return Status::IoError(FileErrorMessage(folder, errno));
  }
  return WriteScreenPictures(screens, folder, &transaction, &drawn);
}

}  // namespace

int RefusalOfOutputOverInput(const CommandLine& line, const std::vector<std::string>& inputs,
                             MessageBox& msg) {
  std::vector<std::string> outputs;
  for (const BatchOutputKind& kind : kBatchOutputs) outputs.push_back(line.*kind.path);
  std::string output = OutputOverAnInput(outputs, inputs);
  if (output.empty()) return 0;
  msg.ShowMessage(FileMessage(output, kOutputIsAnInput));
  return 2;
}

int RunProject(const CommandLine& line, const Options& options, MessageBox& msg,
               ConsoleProgressWindow& progress, SpecificationModel& model) {
  BatchOutputs outputs(line);
  if (Status prepared = outputs.Prepare(); !prepared.ok()) {
    msg.ShowError(prepared.message());
    return 1;
  }
  ConsoleWarningReporter warnings;
  // Drawn once for the workbook and the folder of pictures.
  DrawnScreenPictures pictures;
  OutputPlaces places = outputs.Places(warnings, TemplatePath());
  places.pictures = &pictures;
  const ReportWriters writers = ChosenWriters(options, places);
  ProductionStages production(model, options);
  FileCountingStages stages(production, model, progress);
  RunContext run{model, options, msg, progress, stages, writers};
  // A file that is no project is the user's mistake, like a bad argument.
  if (!CreateSpecification(line.project_path, run)) return production.refused_project() ? 2 : 1;
  // Every output is still held back: refused now, none of them has changed a file.
  if (int refused = RefusalOfOutputOverInput(line, MemberFiles(line.project_path, model), msg)) {
    return refused;
  }
  if (!line.screens_dir.empty()) {
    if (Status drawn =
            WritePicturesInto(line.screens_dir, model.Screens, outputs.transaction(), pictures);
        !drawn.ok()) {
      msg.ShowError(drawn.message());
      return 1;
    }
  }
  if (Status finished = outputs.Finish(); !finished.ok()) {
    msg.ShowError(finished.message());
    return 1;
  }
  return 0;
}

std::vector<std::string> MissingMembers(const SourcePath& project,
                                        const SpecificationModel& model) {
  std::vector<std::string> missing;
  for (const std::vector<MemberFile>& list : model.Members) {
    for (const MemberFile& member : list) {
      if (member.Missing) missing.push_back(ToNativePath(MemberPath(project.windows(), member)));
    }
  }
  return missing;
}

}  // namespace dovrek

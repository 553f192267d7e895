#include "app/console_runs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <iostream>
#include <memory>
#include <vector>

#include "app/batch_outputs.h"
#include "app/batch_summary.h"
#include "app/output_identity.h"
#include "app/screen_pictures.h"
#include "app/startup.h"
#include "platform/console_file_dialog.h"
#include "platform/console_message_box.h"
#include "platform/console_progress_window.h"
#include "platform/messages.h"
#include "platform/native_path.h"
#include "platform/system_error.h"
#include "run/file_counting_stages.h"
#include "run/generation_driver.h"
#include "run/run_stages.h"

namespace dovrek {
namespace {

void Override(CheckState* flag, const std::optional<bool>& value) {
  if (value) *flag = CheckStateOf(*value);
}

Options BatchOptions(const CommandLine& line, MessageBox& msg) {
  Options options = StartingOptions(&msg);
  options.Xls = CheckStateOf(!line.workbook_path.empty());
  options.Txt = CheckStateOf(!line.text_path.empty());
  Override(&options.Cmt, line.cmt);
  Override(&options.Func, line.func);
  Override(&options.Dir, line.dir);
  Override(&options.Trim, line.trim);
  if (line.complete) options.Complete = *line.complete;
  if (line.source_encoding) options.Source = *line.source_encoding;
  if (line.screens) options.Screens = *line.screens;
  return options;
}

// A model that lives until the process ends. A console run ends right after its reports, and
// freeing the model's many texts one by one takes longer than the system takes to reclaim all
// of the process's memory at once.
SpecificationModel& ModelKeptToTheEnd() {
  static auto* const kept = new std::vector<std::unique_ptr<SpecificationModel>>;
  return *kept->emplace_back(std::make_unique<SpecificationModel>());
}

// Standard output may take the workbook only when it is not a terminal, where the binary
// bytes would garble the screen.
bool WorkbookToTerminal(const CommandLine& line) {
  return IsStandardOutput(line.workbook_path) && ::isatty(STDOUT_FILENO);
}

// An output that would write over a file the run reads is refused like two outputs on one
// file: answers 2 after its message, 0 when there is none.
int RefusalOfOutputOverInput(const CommandLine& line, const std::vector<std::string>& inputs,
                             MessageBox& msg) {
  std::string output =
      OutputOverAnInput({line.text_path, line.workbook_path, line.json_path}, inputs);
  if (output.empty()) return 0;
  msg.ShowMessage(FileMessage(output, kOutputIsAnInput));
  return 2;
}

// The checks made before anything is read. Answers the exit status of a refused run after its
// message, 0 when the run may go on.
int RefusalBeforeRun(const CommandLine& line, MessageBox& msg) {
  if (!line.HasOutput()) {
    msg.ShowMessage(kNoOutputChosen);
    return 2;
  }
  if (WorkbookToTerminal(line)) {
    msg.ShowMessage(kWorkbookToTerminal);
    return 2;
  }
  // The path goes in front of the message: a batch run has no window that shows it.
  if (Status problem = line.project_path.ReadProblem(); !problem.ok()) {
    msg.ShowMessage(problem.IsNotFound()
                        ? FileMessage(line.project_path.display(), kProjectNotFound)
                        : problem.message());
    return 1;
  }
  return RefusalOfOutputOverInput(line, {line.project_path.found(), ToNativePath(TemplatePath())},
                                  msg);
}

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
Status WritePicturesInto(const std::string& folder, const std::vector<Screen>& screens) {
  if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
    return Status::IoError(FileErrorMessage(folder, errno));
  }
  return WriteScreenPictures(screens, folder);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int RunBatch(const CommandLine& line) {
  const auto started = std::chrono::steady_clock::now();
  ConsoleMessageBox msg;
  if (int refused = RefusalBeforeRun(line, msg)) return refused;
  BatchOutputs outputs(line);
  if (Status prepared = outputs.Prepare(); !prepared.ok()) {
    msg.ShowError(prepared.message());
    return 1;
  }
  Options options = BatchOptions(line, msg);
  if (!line.screens_dir.empty() && !(options.Complete && options.Screens)) {
    msg.ShowMessage(kScreensDirNeedsScreens);
    return 2;
  }
  ConsoleProgressWindow progress(::isatty(STDERR_FILENO) && !line.quiet);
  RunServices services{msg,
                       progress,
                       outputs.text_dialog(),
                       outputs.workbook_handover(),
                       TemplatePath(),
                       line.text_encoding};
  SpecificationModel& model = ModelKeptToTheEnd();
  ProductionStages production(model, options, services);
  FileCountingStages stages(production, model, progress);
  RunContext run{model, options, msg, progress, stages};
  if (!CreateSpecification(line.project_path, run)) return 1;
  // Every output is still held back: refused now, none of them has changed a file.
  if (int refused = RefusalOfOutputOverInput(line, MemberFiles(line.project_path, model), msg)) {
    return refused;
  }
  if (!line.screens_dir.empty()) {
    if (Status drawn = WritePicturesInto(line.screens_dir, model.Screens); !drawn.ok()) {
      msg.ShowError(drawn.message());
      return 1;
    }
  }
  if (Status finished = outputs.Finish(model, options.Complete); !finished.ok()) {
    msg.ShowError(finished.message());
    return 1;
  }
  if (!line.quiet)
    std::cerr << BatchSummary(model, line, options.Complete, SecondsSince(started)) << std::endl;
  return 0;
}

int RunUnattendedOnConsole(const SourcePath& project_path) {
  ConsoleMessageBox msg;
  Options options = StartingOptions(&msg);
  ConsoleProgressWindow progress(::isatty(STDERR_FILENO));
  ConsoleFileDialog dialog;
  OpenInDesktopHandover handover(msg);
  RunServices services{msg, progress, dialog, handover, TemplatePath(), TextEncoding::Cp932};
  return RunSpecification(project_path, ModelKeptToTheEnd(), options, services) ? 0 : 1;
}

}  // namespace dovrek

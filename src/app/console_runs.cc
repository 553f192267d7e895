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
#include "app/desktop_handover.h"
#include "app/opener_watch.h"
#include "app/output_identity.h"
#include "app/project_run.h"
#include "app/screen_pictures.h"
#include "app/startup.h"
#include "console/console_file_dialog.h"
#include "console/console_message_box.h"
#include "console/console_progress_window.h"
#include "console/console_warning_reporter.h"
#include "app/app_messages.h"
#include "frontend/frontend_messages.h"
#include "os/os_messages.h"
#include "texts/failure_messages.h"
#include "os/system_error.h"
#include "run/file_counting_stages.h"
#include "run/generation_driver.h"
#include "run/report_writers.h"
#include "run/run_stages.h"
#include "run/settings_store.h"

namespace dovrek {
namespace {

void Override(CheckState* flag, const std::optional<bool>& value) {
  if (value) *flag = CheckStateOf(*value);
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
    msg.ShowMessage(problem.IsNotFound() ? FileMessage(line.project_path.display(), kFileNotFound)
                                         : problem.message());
    return 1;
  }
  return RefusalOfOutputOverInput(line, {line.project_path.found(), TemplatePath()},
                                  msg);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int BatchOptions(const CommandLine& line, MessageBox& msg, Options* options) {
  *options = Options();
  if (!line.settings_path.empty()) {
    if (Status loaded = LoadOptions(line.settings_path, options); !loaded.ok()) {
      msg.ShowMessage(std::string(kSettingsOptionNotRead) + "\n" + loaded.message());
      return 2;
    }
  }
  options->Xls = CheckStateOf(!line.workbook_path.empty());
  options->Txt = CheckStateOf(!line.text_path.empty());
  Override(&options->Cmt, line.cmt);
  Override(&options->Func, line.func);
  Override(&options->Dir, line.dir);
  Override(&options->Trim, line.trim);
  options->SkipMissing = line.skip_missing;
  if (line.complete) options->Complete = *line.complete;
  if (line.source_encoding) options->Source = *line.source_encoding;
  if (line.screens) options->Screens = *line.screens;
  return 0;
}

int RunBatch(const CommandLine& line) {
  const auto started = std::chrono::steady_clock::now();
  ConsoleMessageBox msg;
  if (int refused = RefusalBeforeRun(line, msg)) return refused;
  Options options;
  if (int refused = BatchOptions(line, msg, &options)) return refused;
  if (!line.screens_dir.empty() && !(options.Complete && options.Screens)) {
    msg.ShowMessage(kScreensDirNeedsScreens);
    return 2;
  }
  ConsoleProgressWindow progress(::isatty(STDERR_FILENO) && !line.quiet);
  SpecificationModel& model = ModelKeptToTheEnd();
  if (int status = RunProject(line, options, msg, progress, model)) return status;
  if (!line.quiet)
    std::cerr << BatchSummary(model, line, options.Complete, SecondsSince(started)) << std::endl;
  // The missing members have been named: the outputs are written, yet incomplete.
  return MissingMembers(line.project_path, model).empty() ? 0 : 1;
}

int RunUnattendedOnConsole(const SourcePath& project_path) {
  ConsoleMessageBox msg;
  Options options = StartingOptions(&msg);
  ConsoleProgressWindow progress(::isatty(STDERR_FILENO));
  ConsoleFileDialog dialog;
  OpenerWatch watch;
  OpenInDesktopHandover handover(msg, watch);
  ConsoleWarningReporter warnings;
  const ReportWriters writers =
      ChosenWriters(options, {handover, warnings, TemplatePath(), SaveDialogChooser(dialog),
                              Encoding::kCp932, ""});
  const bool done =
      RunSpecification(project_path, ModelKeptToTheEnd(), options, msg, progress, writers);
  return done ? 0 : 1;
}

}  // namespace dovrek

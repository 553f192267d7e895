// dovrek: writes the program specification of a Visual Basic 6 project.

#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/console_runs.h"
#include "app/portfolio_run.h"
#include "app/startup.h"
#include "app/usage_text.h"
#include "os/interrupt_cleanup.h"
#include "os/memory_tuning.h"
#include "app/app_messages.h"
#include "texts/box_titles.h"
#include "os/system_error.h"
#include "os/temporary_folder.h"
#include "run/stage_guard.h"
#include "texts/ui_language.h"

#ifdef DOVREK_HAVE_GUI
#include "app/desktop_handover.h"
#include "app/opener_watch.h"
#include "console/console_warning_reporter.h"
#include "os/native_path.h"
#include "run/report_writers.h"
#include "run/run_stages.h"
#include "ui/qt_front_end.h"
#endif

namespace {

int UsageError(const std::string& why) {
  if (!why.empty()) std::cerr << "dovrek: " << why << "\n\n";
  std::cerr << dovrek::UsageText(dovrek::UserLanguage());
  return 2;
}

#ifdef DOVREK_HAVE_GUI
// The run the windows start: the real stages with the windows they are given. The main window
// leaves the workbook's opener to the watch, on a thread of its own; an unattended run, which
// ends afterwards, waits for it in the hand-over.
dovrek::RunFunction WindowedRun(dovrek::OpenerWait wait, dovrek::OpenerWatch& watch) {
  return [wait, &watch](const dovrek::SourcePath& project_path, dovrek::Options options,
                        dovrek::MessageBox& msg, dovrek::ProgressWindow& progress,
                        dovrek::FileDialog& dialog) {
    dovrek::OpenInDesktopHandover handover(msg, watch, {"xdg-open"}, wait);
    dovrek::ConsoleWarningReporter warnings;
    const dovrek::ReportWriters writers = dovrek::ChosenWriters(
        options, {handover, warnings, dovrek::TemplatePath(), dovrek::SaveDialogChooser(dialog),
                  dovrek::Encoding::kCp932, ""});
    dovrek::SpecificationModel model;
    return dovrek::RunSpecification(project_path, model, options, msg, progress, writers);
  };
}
#endif

int RunWithWindows(const dovrek::CommandLine& line, int& argc, char** argv) {
  // Workbooks handed over to the desktop by earlier runs, now surely read.
  dovrek::RemoveStalePrivateFolders();
#ifdef DOVREK_HAVE_GUI
  // The quick look at the display's socket first, then Qt itself, tried where it cannot take
  // the program down with it.
  if (dovrek::HasDisplay() && dovrek::WindowSystemStarts(argc, argv)) {
    dovrek::Options options = dovrek::StartingOptions();
    // Joined when the windows are gone; the main window asks it for the openers' verdicts
    // while its message boxes can still be shown.
    dovrek::OpenerWatch watch;
    if (line.mode == dovrek::RunMode::kUnattended) {
      return dovrek::RunUnattendedWindowed(argc, argv, line.project_path, options,
                                           WindowedRun(dovrek::OpenerWait::kHere, watch));
    }
    return dovrek::RunMainWindow(
        argc, argv, line.project_path, std::move(options), dovrek::SettingsPath(),
        WindowedRun(dovrek::OpenerWait::kInBackground, watch), [&watch] { watch.AwaitVerdicts(); });
  }
#else
  (void)argc;
  (void)argv;
#endif
  if (line.mode == dovrek::RunMode::kUnattended) {
    return dovrek::RunUnattendedOnConsole(line.project_path);
  }
  return UsageError(dovrek::kNoDisplay.In(dovrek::UserLanguage()));
}

// A failure that reached the top: told on standard error; the run has failed.
int Failed(const std::string& reason) {
  std::cerr << dovrek::kErrorTitle << ": " << reason << std::endl;
  return 1;
}

int Dispatch(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const dovrek::Language language = dovrek::UserLanguage();
  dovrek::CommandLine line = dovrek::ParseCommandLine(args, language);
  switch (line.mode) {
    case dovrek::RunMode::kHelp:
      std::cout << dovrek::UsageText(language);
      return 0;
    case dovrek::RunMode::kVersion:
      std::cout << "dovrek " << DOVREK_VERSION << "\n";
      return 0;
    case dovrek::RunMode::kUsageError:
      return UsageError(line.error);
    case dovrek::RunMode::kBatch:
      return dovrek::RunBatch(line);
    case dovrek::RunMode::kPortfolio:
      return dovrek::RunPortfolio(line);
    case dovrek::RunMode::kUnattended:
    case dovrek::RunMode::kWindow:
      return RunWithWindows(line, argc, argv);
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  dovrek::TuneMemoryForOneRun();
  // A closed pipe or the file-size limit fails the write that meets it, and the run then
  // reports it and removes its temporary files; any signal that ends the run removes them too.
  dovrek::IgnoreWriteSignals();
  try {
    return Dispatch(argc, argv);
  } catch (const std::exception& failure) {
    // Outside the stages (the settings file, the JSON dump): the run fails, the program ends
    // in an orderly way.
    return Failed(dovrek::FailureText(failure));
  }
}

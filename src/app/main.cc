// dovrek: writes the program specification of a Visual Basic 6 project.

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/console_runs.h"
#include "app/startup.h"
#include "app/usage_text.h"
#include "platform/interrupt_cleanup.h"
#include "platform/memory_tuning.h"
#include "platform/messages.h"
#include "platform/system_error.h"
#include "platform/temporary_folder.h"
#include "platform/ui_language.h"

#ifdef DOVREK_HAVE_GUI
#include "platform/native_path.h"
#include "report/workbook_handover.h"
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
// waits for the workbook's opener in the background; an unattended run, which ends afterwards,
// waits in the hand-over.
dovrek::RunFunction WindowedRun(dovrek::OpenerWait wait) {
  return [wait](const dovrek::SourcePath& project_path, dovrek::Options options,
                dovrek::MessageBox& msg, dovrek::ProgressWindow& progress,
                dovrek::FileDialog& dialog) {
    dovrek::OpenInDesktopHandover handover(msg, {"xdg-open"}, wait);
    dovrek::RunServices services{msg, progress, dialog, handover, dovrek::TemplatePath()};
    dovrek::SpecificationModel model;
    return dovrek::RunSpecification(project_path, model, options, services);
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
    if (line.mode == dovrek::RunMode::kUnattended) {
      return dovrek::RunUnattendedWindowed(argc, argv, line.project_path, options,
                                           WindowedRun(dovrek::OpenerWait::kHere));
    }
    return dovrek::RunMainWindow(argc, argv, line.project_path, std::move(options),
                                 dovrek::SettingsPath(),
                                 WindowedRun(dovrek::OpenerWait::kInBackground));
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
  } catch (const std::bad_alloc&) {
    // Outside the stages (the settings file, the JSON dump): the run fails, the program ends
    // in an orderly way.
    std::cerr << dovrek::kErrorTitle << ": " << dovrek::kOutOfMemory << std::endl;
    return 1;
  }
}

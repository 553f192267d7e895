#pragma once
// The two ways the program runs with a display: the main window, and an unattended run that
// shows only the progress window, the message boxes and the save dialog.

#include <functional>
#include <string>

#include "model/specification_model.h"
#include "frontend/file_dialog.h"
#include "frontend/message_box.h"
#include "frontend/progress_window.h"
#include "os/source_path.h"

namespace dovrek {

// Runs one generation with its own copy of the options and the given windows; answers as
// CreateSpecification does. Provided by main.cc.
using RunFunction =
    std::function<bool(const SourcePath& project_path, Options options, MessageBox& msg,
                       ProgressWindow& progress, FileDialog& dialog)>;

// Whether the window system starts: Qt's platform plugin is made as QApplication would make it,
// in a copy of the process (SucceedsInCopy), waiting at most a few seconds. Qt ends the whole
// process when it cannot start (an unknown QT_QPA_PLATFORM plugin, an X server that refuses
// the connection or speaks no X), and waits for ever on a server that never answers; the
// copy takes that end or that wait instead of the program, which then runs without windows.
// The plugin is tried rather than looked up by name: Qt's list of plugins is private, and a
// known plugin can fail all the same. Call before any other thread is started.
bool WindowSystemStarts(int& argc, char** argv);

// Shows the main window (its path box filled with project_path as messages show it), runs the
// event loop until the window closes, saving the six flags to settings_path (native) on
// close in the order XLS, TXT, CMT, DIR, FUNC, TRIM (SaveOptions). The window owns `options`;
// each run gets a copy of them as the boxes stand when OK is pressed. When the event loop has
// ended, `settle` (when given) waits for what runs still do on other threads; the boxes those
// threads asked for meanwhile are shown then, not lost. Returns the process exit code (0).
int RunMainWindow(int& argc, char** argv, const SourcePath& project_path, Options options,
                  const std::string& settings_path, const RunFunction& run,
                  const std::function<void()>& settle = {});

// An unattended run with a display: no main window shown; progress window, message boxes and the
// save dialog are Qt. Returns 0 when the run answered yes, 1 otherwise. No window stays open
// afterwards.
int RunUnattendedWindowed(int& argc, char** argv, const SourcePath& project_path,
                          const Options& options, const RunFunction& run);

}  // namespace dovrek

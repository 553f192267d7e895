#pragma once
// The runs that need no display: a batch run driven by output options, and an unattended run
// whose windows are console stand-ins.

#include "app/command_line.h"
#include "frontend/message_box.h"

namespace dovrek {

// A batch run: the options of the file --settings names (none without it: Dovrek.ini is not
// read) with the command line's switches, the reports the options name, "-" standing for
// standard output. Without `quiet` a summary ends a successful run on standard error. Answers
// the exit status: 0 done, 1 failed, 2 no output named, a --settings file that cannot be read,
// or the workbook asked for on a terminal.
int RunBatch(const CommandLine& line);

// The options a batch run reads with: those of the file --settings names, else the defaults, so
// that a nightly job does not change with what was last ticked in the window; then the command
// line's switches, and Xls and Txt on when the line names the workbook or the text report. A
// settings file that cannot be read is bad usage: answers 2 after its message, 0 when *options
// is filled.
int BatchOptions(const CommandLine& line, MessageBox& msg, Options* options);

// An unattended run without a display: the six flags from the settings file, messages on
// standard error, the text report's file asked for on the terminal. Answers 0 or 1.
int RunUnattendedOnConsole(const SourcePath& project_path);

}  // namespace dovrek

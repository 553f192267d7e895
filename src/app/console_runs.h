#pragma once
// The runs that need no display: a batch run driven by output options, and an unattended run
// whose windows are console stand-ins.

#include "app/command_line.h"
#include "platform/message_box.h"

namespace dovrek {

// A batch run: the parsing flags from the settings file with the command line's overrides,
// the reports the options name, "-" standing for standard output. Without `quiet` a summary
// line ends a successful run on standard error. Answers the exit status: 0 done, 1 failed,
// 2 no output named or the workbook asked for on a terminal.
int RunBatch(const CommandLine& line);

// The parsing flags of a batch run: the settings file's with the command line's overrides, and
// Xls and Txt on when the line names the workbook or the text report.
Options BatchOptions(const CommandLine& line, MessageBox& msg);

// An unattended run without a display: the six flags from the settings file, messages on
// standard error, the text report's file asked for on the terminal. Answers 0 or 1.
int RunUnattendedOnConsole(const SourcePath& project_path);

}  // namespace dovrek

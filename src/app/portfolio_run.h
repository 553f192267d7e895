#pragma once
// A batch run over many projects: every project the inputs name, run side by side on a pool
// of threads, each with its own model (freed before the worker takes the next project), its own
// message box and its outputs held back and put in place on its own thread. One project's
// failure never stops another.

#include "app/command_line.h"

namespace dovrek {

// Runs line.portfolio with the parsing flags of a batch run. Shows "[n/N]" and a summary line
// as each project ends (unless `quiet`), then names every project that failed or went on
// without members, and writes the inventory. Answers 0 when every project was written whole,
// 1 otherwise.
int RunPortfolio(const CommandLine& line);

}  // namespace dovrek

#pragma once
// One project of a batch run, from the project file to its finished outputs, with the
// messages shown through the box the caller gives: the part a batch run over one project and
// one over many have in common. Keeps no state of its own between calls, so that projects may
// run at once on several threads, each with its own box, progress window and model.

#include <string>
#include <vector>

#include "app/command_line.h"
#include "model/specification_model.h"
#include "frontend/message_box.h"
#include "console/console_progress_window.h"

namespace dovrek {

// Runs `line.project_path` with `options` (Xls and Txt as the outputs ask) into `model` and
// writes the outputs `line` names, all or none of them. Answers the exit status: 0 written,
// 1 failed, 2 an output would have written over an input (after its message).
int RunProject(const CommandLine& line, const Options& options, MessageBox& msg,
               ConsoleProgressWindow& progress, SpecificationModel& model);

// An output that would write over a file the run reads is refused like two outputs on one
// file: answers 2 after its message, 0 when there is none.
int RefusalOfOutputOverInput(const CommandLine& line, const std::vector<std::string>& inputs,
                             MessageBox& msg);

// The member files a run that went on without missing members left out, as messages name
// them (native paths), in the order of the member lists.
std::vector<std::string> MissingMembers(const SourcePath& project,
                                        const SpecificationModel& model);

}  // namespace dovrek

#pragma once
// The one place where a stage's unforeseen failure is caught: it ends the run, not the program.

#include <exception>
#include <functional>
#include <string>

#include "base/status.h"

namespace dovrek {

// Runs one stage and answers what it answers. An exception the stage lets out (running out of
// memory, or any other std::exception, also one a reading thread passed on) becomes an error
// naming the file being read (`file` as messages show it, or none). The stage's own buffers are
// released by the unwinding before the failure is answered.
Status GuardedStage(const std::string& file, const std::function<Status()>& stage);

// What such an exception tells the user: kOutOfMemory when memory ran out, otherwise
// UnexpectedFailure with the exception's own description.
std::string FailureText(const std::exception& failure);

}  // namespace dovrek

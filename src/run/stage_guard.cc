#include "run/stage_guard.h"

#include <new>

#include "run/run_messages.h"
#include "texts/failure_messages.h"

namespace dovrek {
namespace {

Status Failure(const std::string& file, const std::string& reason) {
  return Status::Error(file.empty() ? reason : FileMessage(file, reason));
}

}  // namespace

Status GuardedStage(const std::string& file, const std::function<Status()>& stage) {
  try {
    return stage();
  } catch (const std::exception& failure) {
    return Failure(file, FailureText(failure));
  }
}

std::string FailureText(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure)) return kOutOfMemory;
  return UnexpectedFailure(failure.what());
}

}  // namespace dovrek

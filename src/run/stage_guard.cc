#include "run/stage_guard.h"

#include <new>

#include "run/run_messages.h"
#include "texts/failure_messages.h"

namespace dovrek {
namespace {

void ShowFailure(MessageBox& msg, const std::string& file, const std::string& reason) {
  msg.ShowError(file.empty() ? reason : FileMessage(file, reason));
}

}  // namespace

bool GuardedStage(MessageBox& msg, const std::string& file, const std::function<bool()>& stage) {
  try {
    return stage();
  } catch (const std::exception& failure) {
    ShowFailure(msg, file, FailureText(failure));
  }
  return false;
}

std::string FailureText(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure)) return kOutOfMemory;
  return UnexpectedFailure(failure.what());
}

}  // namespace dovrek

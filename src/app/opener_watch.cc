#include "app/opener_watch.h"

#include <system_error>

#include "os/child_process.h"

namespace dovrek {
namespace {

// How often a follower whose opener runs on looks whether it should stop.
constexpr std::chrono::milliseconds kReapSlice{200};

}  // namespace

OpenerWatch::~OpenerWatch() {
  AwaitVerdicts();
  stopping_ = true;
  for (const std::unique_ptr<Follower>& follower : followers_) follower->thread.join();
}

void OpenerWatch::Watch(pid_t pid, std::chrono::milliseconds verdict_wait,
                        std::function<void()> failed) {
  JoinFinished();
  {
    std::lock_guard lock(mutex_);
    ++verdicts_pending_;
  }
  auto follower = std::make_unique<Follower>();
  Follower& self = *follower;
  try {
    self.thread = std::thread(
        [this, pid, verdict_wait, failed, &self] { Follow(pid, verdict_wait, failed, self); });
  } catch (const std::system_error&) {
    // No thread to spare: the verdict is awaited here; the opener is left to the system.
    if (!AwaitChild(pid, verdict_wait).succeeded && failed) failed();
    VerdictGiven();
    return;
  }
  followers_.push_back(std::move(follower));
}

void OpenerWatch::Follow(pid_t pid, std::chrono::milliseconds verdict_wait,
                         const std::function<void()>& failed, Follower& self) {
  ChildVerdict verdict = AwaitChild(pid, verdict_wait);
  if (!verdict.succeeded && failed) failed();
  VerdictGiven();
  while (!verdict.reaped && !stopping_) verdict = AwaitChild(pid, kReapSlice);
  self.finished = true;
}

void OpenerWatch::VerdictGiven() {
  std::lock_guard lock(mutex_);
  if (--verdicts_pending_ == 0) verdicts_given_.notify_all();
}

void OpenerWatch::AwaitVerdicts() {
  std::unique_lock lock(mutex_);
  verdicts_given_.wait(lock, [this] { return verdicts_pending_ == 0; });
}

// Followers whose opener has ended are joined as new ones come, so that a long session does not
// collect ended threads.
void OpenerWatch::JoinFinished() {
  for (auto it = followers_.begin(); it != followers_.end();) {
    if ((*it)->finished) {
      (*it)->thread.join();
      it = followers_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace dovrek

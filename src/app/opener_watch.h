#pragma once
// The openers that hand-overs have started, each followed on a thread of its own: its verdict
// awaited (whether it could open the file), then the opener itself waited for until it ends,
// so that none is left a zombie. Every thread is joined, none detached.

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace dovrek {

class OpenerWatch {
 public:
  OpenerWatch() = default;
  // Gives every verdict still awaited (AwaitVerdicts), stops waiting for openers that run on
  // (the system takes them over when the program ends) and joins every thread.
  ~OpenerWatch();
  OpenerWatch(const OpenerWatch&) = delete;
  OpenerWatch& operator=(const OpenerWatch&) = delete;

  // Waits, on a thread of its own, up to `verdict_wait` for the opener `pid` to end; when it
  // ended with a failure, calls `failed` on that thread. Then waits for the opener to end.
  // When no thread can be started, the verdict is awaited here instead.
  void Watch(pid_t pid, std::chrono::milliseconds verdict_wait, std::function<void()> failed);

  // Waits for an opener whose verdict has been given already to end.
  void Reap(pid_t pid) { Watch(pid, std::chrono::milliseconds(0), {}); }

  // Returns once every verdict has been given and every `failed` call has returned. Whatever
  // those calls use need live only until then.
  void AwaitVerdicts();

 private:
  struct Follower {
    std::thread thread;
    std::atomic<bool> finished{false};
  };

  void Follow(pid_t pid, std::chrono::milliseconds verdict_wait,
              const std::function<void()>& failed, Follower& self);
  void VerdictGiven();
  void JoinFinished();

  std::mutex mutex_;
  std::condition_variable verdicts_given_;
  int verdicts_pending_ = 0;
  std::atomic<bool> stopping_{false};
  std::list<std::unique_ptr<Follower>> followers_;  // touched only by the owning thread
};

}  // namespace dovrek

#pragma once
// Starting another program and waiting for it: an argument vector started directly, never
// through a shell, and every child waited for once it ends, so that none is left a zombie.
// Also a trial run of a piece of this program in a copy of the process, for steps that may end
// the process they run in.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace dovrek {

// Starts args[0] (looked up on PATH) with the arguments as given, with the usual actions for
// SIGPIPE and SIGXFSZ (which this program ignores). Answers its process id, or -1 when it
// cannot be started (also for an empty vector).
pid_t StartProcess(std::vector<std::string> args);

// What waiting for a child for a while showed.
struct ChildVerdict {
  bool succeeded;  // it exited with status 0, or it still runs (or another waiter took it)
  bool reaped;     // it has ended and been waited for
};

// Waits up to `wait` for the child to end; a non-zero exit or a signal counts as failure.
ChildVerdict AwaitChild(pid_t pid, std::chrono::milliseconds wait);

// Waits for the child to end, however long it runs, so that it leaves no zombie behind.
void ReapChild(pid_t pid);

// Runs `trial` in a copy of this process (fork), with its standard output and error thrown
// away, and answers whether it returned true within `wait`. A copy that aborts, exits
// otherwise or is still running after `wait` (then killed) answers false; nothing it does
// reaches this process. Call while this process has a single thread: a copy has only the
// calling thread, so a lock another thread held would stay taken in it.
bool SucceedsInCopy(const std::function<bool()>& trial, std::chrono::milliseconds wait);

}  // namespace dovrek

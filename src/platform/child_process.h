#pragma once
// Starting another program and waiting for it: an argument vector started directly, never
// through a shell, and every child waited for once it ends, so that none is left a zombie.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace dovrek {

// Starts args[0] (looked up on PATH) with the arguments as given. Answers its process id, or
// -1 when it cannot be started (also for an empty vector).
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

}  // namespace dovrek

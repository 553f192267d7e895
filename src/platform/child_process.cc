#include "platform/child_process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace dovrek {

pid_t StartProcess(std::vector<std::string> args) {
  if (args.empty()) return -1;
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

ChildVerdict AwaitChild(pid_t pid, std::chrono::milliseconds wait) {
  auto deadline = std::chrono::steady_clock::now() + wait;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return {WIFEXITED(status) && WEXITSTATUS(status) == 0, true};
    if (done < 0 && errno != EINTR) return {true, true};  // someone else reaped it
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return {true, false};
}

void ReapChild(pid_t pid) {
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace dovrek

#include "os/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

#include "os/interrupt_cleanup.h"

extern char** environ;

namespace dovrek {
namespace {

// Spawn attributes that give a started program the default actions of the signals this program
// ignores; an ignored signal would otherwise stay ignored across exec.
class DefaultSignals {
 public:
  DefaultSignals() {
    ::posix_spawnattr_init(&attributes_);
    sigset_t reset;
    sigemptyset(&reset);
    sigaddset(&reset, SIGPIPE);
    sigaddset(&reset, SIGXFSZ);
    ::posix_spawnattr_setsigdefault(&attributes_, &reset);
    ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF);
  }
  ~DefaultSignals() { ::posix_spawnattr_destroy(&attributes_); }
  DefaultSignals(const DefaultSignals&) = delete;
  DefaultSignals& operator=(const DefaultSignals&) = delete;
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

// In a copy: standard output and error to /dev/null.
void Silence() {
  int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return;
  ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  ::close(null);
}

}  // namespace

pid_t StartProcess(std::vector<std::string> args) {
  if (args.empty()) return -1;
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  DefaultSignals attributes;
  if (::posix_spawnp(&pid, argv[0], nullptr, attributes.get(), argv.data(), environ) != 0) {
    return -1;
  }
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

bool SucceedsInCopy(const std::function<bool()>& trial, std::chrono::milliseconds wait) {
  pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    ForgetParentTemporaryFiles();
    Silence();
    ::_exit(trial() ? 0 : 1);
  }
  ChildVerdict verdict = AwaitChild(pid, wait);
  if (!verdict.reaped) {
    ::kill(pid, SIGKILL);
    ReapChild(pid);
    return false;
  }
  return verdict.succeeded;
}

}  // namespace dovrek

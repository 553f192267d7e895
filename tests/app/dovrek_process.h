#pragma once
// Runs a private copy of the built dovrek program as a child process: with no display, standard
// input from /dev/null, a time limit, optionally file-size and memory limits, another user
// and variables of its own, and its peak resident memory read back when it ends.

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "test_support.h"

namespace dovrek::testing {

// Built with AddressSanitizer, the program's memory use and speed say nothing about the code.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

struct ProcessOutcome {
  int exit_code = -1;  // -1 when the process did not exit normally
  int signal = 0;      // the signal that ended it, 0 when it exited
  bool timed_out = false;
  long max_rss_kb = 0;  // peak resident memory
  std::string out;      // standard output
  std::string err;      // standard error
};

struct ProcessLimits {
  std::chrono::seconds timeout{30};
  rlim_t file_size = RLIM_INFINITY;  // bytes one file may grow to (SIGXFSZ beyond)
  bool stdout_terminal = false;      // standard output a pseudo-terminal (its output is dropped)
  std::optional<uid_t> user{};       // runs as this user (and group of the same number)
  rlim_t address_space = RLIM_INFINITY;  // bytes of virtual memory; allocations beyond fail
  std::vector<std::pair<std::string, std::string>> environment{};  // set after DISPLAY and co. go
  int stdout_fd = -1;  // standard output: this descriptor (a pipe's end) instead of a file
};

// The exit status of a child that could not set up its standard streams.
inline constexpr int kSetupFailed = 126;

// A user whose permissions bind, for tests that need them: "nobody" when the tests run as root
// (root passes every permission check), nullopt (the tests' own user) otherwise.
inline std::optional<uid_t> UnprivilegedUser() {
  if (::geteuid() != 0) return std::nullopt;
  return 65534;
}

// Drops to the user in a child process; false when that is not possible.
inline bool BecomeUser(uid_t user) {
  return ::setgroups(0, nullptr) == 0 && ::setresgid(user, user, user) == 0 &&
         ::setresuid(user, user, user) == 0;
}

// Runs `body` where permissions bind: in a child process as UnprivilegedUser() when the tests
// run as root, else inline. Answers what `body` answers (false when the child could not
// switch).
inline bool WithoutPrivilege(const std::function<bool()>& body) {
  std::optional<uid_t> user = UnprivilegedUser();
  if (!user) return body();
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(BecomeUser(*user) && body() ? 0 : 1);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A project in <dir>/big large enough that writing its text report (some 13 MB) takes a while
// and fills any pipe. Answers the project file's native path.
inline std::string WriteLargeProject(const TempDir& dir) {
  std::filesystem::create_directories(dir.path() / "big");
  std::ofstream bas(dir.Native("big/big.bas"), std::ios::binary);
  bas << "Attribute VB_Name = \"basBig\"\r\n";
  for (int i = 0; i < 60000; ++i) {
    bas << "' comment line of procedure " << i << "\r\nPublic Function F" << i
        << "(ByVal a As Long, ByRef b As String) As Long\r\nEnd Function\r\n";
  }
  return dir.Write("big/big.vbp", "Type=Exe\r\nModule=basBig; big.bas\r\n");
}

// A copy of the program in <dir>/bin with the built template beside it, so that its Dovrek.ini
// and Dovrek.xlt are the test's own.
class ProgramCopy {
 public:
  explicit ProgramCopy(const TempDir& dir) : dir_(dir) {
    std::filesystem::create_directories(dir.Native("bin"));
    program_ = dir.Native("bin/dovrek");
    std::filesystem::copy_file(DOVREK_BINARY, program_);
    std::filesystem::path built = std::filesystem::path(DOVREK_BINARY).parent_path() / "Dovrek.xlt";
    if (std::filesystem::exists(built)) std::filesystem::copy_file(built, template_path());
  }

  std::string template_path() const { return dir_.Native("bin/Dovrek.xlt"); }

  // Runs the program with the arguments; standard output and error go to files in the folder.
  ProcessOutcome Run(const std::vector<std::string>& args, ProcessLimits limits = {}) const {
    return Finish(Start(args, limits), limits);
  }

  // Starts the program as Run does and answers its process id, for Finish.
  pid_t Start(const std::vector<std::string>& args, const ProcessLimits& limits = {}) const {
    std::vector<std::string> argv_text{program_};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argv_text) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) Child(argv.data(), out_file(), err_file(), limits);
    return pid;
  }

  // Waits for a started program (killing it after the time limit) and collects its outcome.
  ProcessOutcome Finish(pid_t pid, const ProcessLimits& limits = {}) const {
    ProcessOutcome outcome;
    auto deadline = std::chrono::steady_clock::now() + limits.timeout;
    int status = 0;
    struct rusage usage {};
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        outcome.timed_out = true;
        ::kill(pid, SIGKILL);
        ::wait4(pid, &status, 0, &usage);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) outcome.exit_code = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    outcome.max_rss_kb = usage.ru_maxrss;
    outcome.out = ReadFileBytes(out_file());
    outcome.err = ReadFileBytes(err_file());
    return outcome;
  }

 private:
  [[noreturn]] static void Child(char** argv, const std::string& out_file,
                                 const std::string& err_file, const ProcessLimits& limits) {
    int in = ::open("/dev/null", O_RDONLY);
    int out = ::open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) ::_exit(kSetupFailed);
    if (limits.stdout_terminal) out = OpenTerminal();
    if (limits.stdout_fd >= 0) out = limits.stdout_fd;
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    // Whatever the test runner ignores, the program starts with the usual signal actions.
    for (int signal_number : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM,
                              SIGPROF, SIGPIPE, SIGXFSZ}) {
      ::signal(signal_number, SIG_DFL);
    }
    if (limits.user && !BecomeUser(*limits.user)) ::_exit(126);
    for (const auto& [name, value] : limits.environment) ::setenv(name.c_str(), value.c_str(), 1);
    if (limits.address_space != RLIM_INFINITY) {
      struct rlimit limit {
        limits.address_space, limits.address_space
      };
      ::setrlimit(RLIMIT_AS, &limit);
    }
    if (limits.file_size != RLIM_INFINITY) {
      struct rlimit limit {
        limits.file_size, limits.file_size
      };
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execv(argv[0], argv);
    ::_exit(127);
  }

  // The far end of a new pseudo-terminal, for writing.
  static int OpenTerminal() {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) ::_exit(kSetupFailed);
    int terminal = ::open(::ptsname(master), O_WRONLY | O_NOCTTY);
    if (terminal < 0) ::_exit(kSetupFailed);
    return terminal;
  }

  std::string out_file() const { return dir_.Native("stdout.txt"); }
  std::string err_file() const { return dir_.Native("stderr.txt"); }

  const TempDir& dir_;
  std::string program_;
};

}  // namespace dovrek::testing

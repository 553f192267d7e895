// Runs that end early: a reader that goes away, the file-size limit, a signal, a display that
// cannot be used. Each ends with a message or by its signal, and leaves no temporary file or
// folder behind.

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <thread>

#include "app/dovrek_process.h"
#include "os/os_messages.h"

namespace dovrek {
namespace {

using testing::ProcessLimits;
using testing::ProcessOutcome;
using testing::ProgramCopy;
using testing::TempDir;

// Everything below a folder, as paths relative to it.
std::vector<std::string> Contents(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    names.push_back(std::filesystem::relative(entry.path(), folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A pipe whose ends close themselves.
struct Pipe {
  Pipe() { EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0); }
  ~Pipe() {
    for (int fd : fds) {
      if (fd >= 0) ::close(fd);
    }
  }
  void CloseReader() {
    ::close(fds[0]);
    fds[0] = -1;
  }
  // Waits until the program has written something, for at most `wait`.
  bool Filled(std::chrono::seconds wait) {
    pollfd ready{fds[0], POLLIN, 0};
    return ::poll(&ready, 1, static_cast<int>(wait.count() * 1000)) == 1;
  }
  int fds[2] = {-1, -1};
};

class SignalsLimitsTest : public ::testing::Test {
 protected:
  SignalsLimitsTest() : program(dir) {
    std::filesystem::create_directories(dir.path() / "tmp");
    std::filesystem::create_directories(dir.path() / "out");
  }

  ProcessLimits Limits() { return {.environment = {{"TMPDIR", dir.Native("tmp")}}}; }

  TempDir dir;
  ProgramCopy program;
  std::string sample = std::string(DOVREK_SOURCE_DIR) + "/examples/sample/Sample.vbp";
};

// A reader that has gone or the file-size limit fails the run with a message naming the output
// (exit 1); a signal while standard output is full ends it by that signal. Either way neither
// the temporary folder nor the output folder keeps anything of the run.
TEST_F(SignalsLimitsTest, AnEarlyEndLeavesNothingBehind) {
  std::string large = testing::WriteLargeProject(dir);
  const std::string target = dir.Native("out/report.txt");
  const std::string too_large = std::string(": ") + kFileTooLarge + "\n";
  struct Case {
    const char* label;
    std::vector<std::string> args;
    int signal = 0;            // sent once standard output is full
    bool reader_gone = false;  // standard output a pipe nobody reads any more
    rlim_t file_size = RLIM_INFINITY;
    std::string message_start = "エラー: ";
    std::string message_end = "";
  } cases[] = {
      {"-t - into a closed pipe", {"-t", "-"}, 0, true, RLIM_INFINITY, "エラー: 標準出力: "},
      {"-x - into a closed pipe", {"-x", "-"}, 0, true, RLIM_INFINITY, "エラー: 標準出力: "},
      {"-j - into a closed pipe", {"-j", "-"}, 0, true, RLIM_INFINITY, "エラー: 標準出力: "},
      {"-t over the file-size limit", {"-t", target}, 0, false, 1024, "エラー: " + target,
       too_large},
      {"-t - over the file-size limit", {"-t", "-"}, 0, false, 1024, "エラー: ", too_large},
      {"-x - over the file-size limit", {"-x", "-"}, 0, false, 1024, "エラー: ", too_large},
      {"SIGUSR1", {"-t", "-"}, SIGUSR1},
      {"SIGALRM", {"-t", "-"}, SIGALRM},
      {"SIGTERM", {"-t", "-", "-j", dir.Native("out/p.json")}, SIGTERM},
      {"SIGQUIT", {"-x", "-"}, SIGQUIT},
      {"SIGUSR2", {"-t", "-"}, SIGUSR2},
      {"SIGPROF", {"-t", "-"}, SIGPROF},
  };
  for (const Case& c : cases) {
    Pipe pipe;
    ProcessLimits limits = Limits();
    limits.file_size = c.file_size;
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "-q");
    args.push_back(c.signal ? large : sample);
    if (c.reader_gone) pipe.CloseReader();
    if (c.reader_gone || c.signal) limits.stdout_fd = pipe.fds[1];
    ProcessOutcome run;
    if (c.signal) {
      pid_t pid = program.Start(args, limits);
      ASSERT_TRUE(pipe.Filled(std::chrono::seconds(30))) << c.label;
      ::kill(pid, c.signal);
      run = program.Finish(pid, limits);
      EXPECT_EQ(run.signal, c.signal) << c.label << ": " << run.exit_code << run.err;
    } else {
      run = program.Run(args, limits);
      EXPECT_EQ(run.signal, 0) << c.label;
      EXPECT_EQ(run.exit_code, 1) << c.label;
      EXPECT_TRUE(run.err.starts_with(c.message_start)) << c.label << ": " << run.err;
      EXPECT_TRUE(run.err.ends_with(c.message_end)) << c.label << ": " << run.err;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.label << run.err;
    }
    EXPECT_EQ(Contents(dir.path() / "tmp"), std::vector<std::string>{}) << c.label;
    EXPECT_EQ(Contents(dir.path() / "out"), std::vector<std::string>{}) << c.label;
  }
}

// Accepts connections on a loopback port and answers each with bytes that are not X (or, when
// `silent`, never accepts: the kernel completes the connection and nothing ever answers).
class FakeServer {
 public:
  explicit FakeServer(bool silent) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::listen(fd_, 16), 0);
    socklen_t size = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    if (!silent) answering_ = std::thread([this] { Answer(); });
  }
  ~FakeServer() {
    ::shutdown(fd_, SHUT_RDWR);
    if (answering_.joinable()) answering_.join();
    ::close(fd_);
  }
  // The X display whose TCP port this is.
  std::string display() const { return "127.0.0.1:" + std::to_string(port_ - 6000); }

 private:
  void Answer() {
    for (int client; (client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
      static constexpr char kReply[] = "HTTP/1.0 400 Bad Request\r\n\r\n";
      (void)!::write(client, kReply, sizeof kReply - 1);
      ::close(client);
    }
  }
  int fd_;
  int port_ = 0;
  std::thread answering_;
};

// Whether a program is installed.
bool Installed(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Starts a program with its output thrown away; answers its process id.
pid_t StartQuietly(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// A display that answers but cannot be used (a server that refuses the client, one that speaks
// no X, an unknown Qt platform) or never answers is no display: an unattended run goes on with
// the console stand-ins (no settings: it reads the project and ends without a word), soon.
TEST_F(SignalsLimitsTest, AnUnusableDisplayIsNoDisplay) {
  FakeServer speaks_no_x(/*silent=*/false);
  FakeServer silent(/*silent=*/true);
  using Environment = std::vector<std::pair<std::string, std::string>>;
  std::vector<std::pair<const char*, Environment>> cases = {
      {"no X on the port", {{"DISPLAY", speaks_no_x.display()}}},
      {"silent", {{"DISPLAY", silent.display()}}},
      {"unknown platform", {{"QT_QPA_PLATFORM", "bogus"}}},
  };
  // An X server that wants a cookie the client does not have.
  pid_t xvfb = -1;
  const std::string number = std::to_string(300 + ::getpid() % 300);
  const std::string socket = "/tmp/.X11-unix/X" + number;
  if (Installed("Xvfb") && Installed("xauth") && !std::filesystem::exists(socket)) {
    std::string server_auth = dir.Native("server.auth");
    std::string client_auth = dir.Native("client.auth");
    auto add = [&](const std::string& file, char cookie) {
      std::string command = "xauth -q -f " + file + " add :" + number + " . " +
                            std::string(32, cookie) + " 2>/dev/null";
      return std::system(command.c_str());
    };
    ASSERT_EQ(add(server_auth, 'a'), 0);
    ASSERT_EQ(add(client_auth, 'b'), 0);
    xvfb = StartQuietly({"Xvfb", ":" + number, "-auth", server_auth, "-nolisten", "tcp"});
    for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    cases.push_back({"refused", {{"DISPLAY", ":" + number}, {"XAUTHORITY", client_auth}}});
  }
  for (const auto& [label, environment] : cases) {
    auto started = std::chrono::steady_clock::now();
    ProcessOutcome run = program.Run({"/a", sample}, {.environment = environment});
    auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(run.signal, 0) << label;
    EXPECT_EQ(run.exit_code, 0) << label << ": " << run.err;
    EXPECT_EQ(run.err, "") << label;
    EXPECT_LT(took, std::chrono::seconds(15)) << label;
  }
  if (xvfb > 0) {
    ::kill(xvfb, SIGTERM);
    ::waitpid(xvfb, nullptr, 0);
  }
}

}  // namespace
}  // namespace dovrek

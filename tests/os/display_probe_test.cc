#include "os/display_probe.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

#include <gtest/gtest.h>

#include "test_support.h"

namespace dovrek {
namespace {

TEST(DisplayProbeTest, ReadsXDisplayNames) {
  const std::string local = "/tmp/.X11-unix/X";
  struct Case {
    const char* name;
    std::optional<XAddress> expected;
  } cases[] = {
      {":0", XAddress{"", 0, local + "0", std::string(1, '\0') + local + "0"}},
      {"unix:12.1", XAddress{"", 0, local + "12", std::string(1, '\0') + local + "12"}},
      {"unix/host:3", XAddress{"", 0, local + "3", std::string(1, '\0') + local + "3"}},
      {"remote.example:10.0", XAddress{"remote.example", 6010, "", ""}},
      {"tcp/:2", XAddress{"localhost", 6002, "", ""}},
      {"[::1]:1", XAddress{"::1", 6001, "", ""}},
      {"0", std::nullopt},
      {":", std::nullopt},
      {":x", std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<XAddress> got = ParseXDisplay(c.name);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.name;
    if (!got) continue;
    EXPECT_EQ(got->host, c.expected->host) << c.name;
    EXPECT_EQ(got->port, c.expected->port) << c.name;
    EXPECT_EQ(got->local_path, c.expected->local_path) << c.name;
    EXPECT_EQ(got->abstract_path, c.expected->abstract_path) << c.name;
  }
}

// A listening socket that closes itself: a local one at a path, or a TCP port on the loopback
// address.
class Listener {
 public:
  explicit Listener(const std::string& local_path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, local_path.data(), local_path.size());
    Listen(reinterpret_cast<sockaddr*>(&address),
           static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + local_path.size()));
  }
  Listener() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Listen(reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
  }
  ~Listener() { ::close(fd_); }
  int port() const { return port_; }

 private:
  void Listen(sockaddr* address, socklen_t size) {
    EXPECT_EQ(::bind(fd_, address, size), 0) << std::strerror(errno);
    EXPECT_EQ(::listen(fd_, 4), 0);
  }
  int fd_;
  int port_ = 0;
};

TEST(DisplayProbeTest, AnsweringDisplaysOnly) {
  testing::TempDir dir;
  const std::string runtime = dir.path().string();
  // A display number nobody else uses, served on the abstract X socket.
  const std::string number = std::to_string(40000 + ::getpid() % 20000);
  Listener x_server(std::string(1, '\0') + "/tmp/.X11-unix/X" + number);
  Listener compositor(dir.Native("wayland-7"));
  Listener tcp_server;
  const std::string tcp_display = "127.0.0.1:" + std::to_string(tcp_server.port() - 6000);
  const std::string x_display = ":" + number;
  const std::string compositor_path = dir.Native("wayland-7");
  const std::string silent_x = ":" + std::to_string(40000 + (::getpid() + 1) % 20000);
  struct Case {
    DisplayEnvironment env;
    bool expected;
  } cases[] = {
      {{nullptr, x_display.c_str(), nullptr, nullptr}, true},
      {{nullptr, tcp_display.c_str(), nullptr, nullptr}, true},
      {{nullptr, silent_x.c_str(), nullptr, nullptr}, false},
      {{"", silent_x.c_str(), nullptr, nullptr}, false},
      {{nullptr, nullptr, "wayland-7", runtime.c_str()}, true},
      {{nullptr, nullptr, compositor_path.c_str(), nullptr}, true},
      {{nullptr, nullptr, "wayland-8", runtime.c_str()}, false},
      {{nullptr, nullptr, "wayland-7", nullptr}, false},
      {{nullptr, nullptr, nullptr, runtime.c_str()}, false},  // nothing named
      {{"offscreen", nullptr, nullptr, nullptr}, true},
      {{"minimal:enable_fonts", silent_x.c_str(), nullptr, nullptr}, true},
      {{"xcb", silent_x.c_str(), "wayland-7", runtime.c_str()}, false},
      {{"xcb", x_display.c_str(), nullptr, nullptr}, true},
      {{"wayland;xcb", silent_x.c_str(), "wayland-8", runtime.c_str()}, false},
      {{"wayland-egl;xcb", silent_x.c_str(), nullptr, runtime.c_str()}, false},
      {{"wayland;xcb", silent_x.c_str(), "wayland-7", runtime.c_str()}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayAnswers(c.env), c.expected)
        << (c.env.qt_platform ? c.env.qt_platform : "-") << " "
        << (c.env.x_display ? c.env.x_display : "-") << " "
        << (c.env.wayland_display ? c.env.wayland_display : "-");
  }
}

}  // namespace
}  // namespace dovrek

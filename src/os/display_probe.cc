#include "os/display_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace dovrek {
namespace {

constexpr int kConnectTimeoutMs = 2000;

bool IsSet(const char* value) { return value && *value; }

// A socket that closes itself.
class Socket {
 public:
  Socket(int family, int type) : fd_(::socket(family, type | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  // Connects, waiting at most kConnectTimeoutMs for a connection in progress. A local socket
  // whose queue is full (EAGAIN) has a server behind it and counts as answering.
  bool Connect(const sockaddr* address, socklen_t length) {
    if (fd_ < 0) return false;
    if (::connect(fd_, address, length) == 0 || errno == EAGAIN) return true;
    if (errno != EINPROGRESS) return false;
    pollfd wait{fd_, POLLOUT, 0};
    if (::poll(&wait, 1, kConnectTimeoutMs) != 1) return false;
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
  }

 private:
  int fd_;
};

// Connects to a local socket; a leading NUL names an abstract socket.
bool LocalSocketAnswers(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  Socket socket(AF_UNIX, SOCK_STREAM);
  return socket.Connect(reinterpret_cast<const sockaddr*>(&address),
                        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size()));
}

bool TcpAnswers(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
  bool answers = false;
  for (addrinfo* at = found; at && !answers; at = at->ai_next) {
    Socket socket(at->ai_family, at->ai_socktype);
    answers = socket.Connect(at->ai_addr, at->ai_addrlen);
  }
  ::freeaddrinfo(found);
  return answers;
}

bool XAnswers(const char* display) {
  if (!IsSet(display)) return false;
  std::optional<XAddress> address = ParseXDisplay(display);
  if (!address) return false;
  if (!address->host.empty()) return TcpAnswers(address->host, address->port);
  // As the X client library does on Linux: the abstract socket first, then the file.
  return LocalSocketAnswers(address->abstract_path) || LocalSocketAnswers(address->local_path);
}

bool WaylandAnswers(const DisplayEnvironment& env) {
  std::string name = IsSet(env.wayland_display) ? env.wayland_display : "wayland-0";
  if (name.front() != '/') {
    if (!IsSet(env.runtime_dir)) return false;
    name = std::string(env.runtime_dir) + "/" + name;
  }
  return LocalSocketAnswers(name);
}

bool PlatformUsable(std::string_view platform, const DisplayEnvironment& env) {
  platform = platform.substr(0, platform.find(':'));
  if (platform == "xcb") return XAnswers(env.x_display);
  if (platform.starts_with("wayland")) return WaylandAnswers(env);
  return !platform.empty();
}

}  // namespace

DisplayEnvironment CurrentDisplayEnvironment() {
  return {std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
          std::getenv("XDG_RUNTIME_DIR")};
}

std::optional<XAddress> ParseXDisplay(const std::string& name) {
  std::string_view rest = name;
  std::string_view protocol;
  size_t colon = rest.rfind(':');
  if (size_t slash = rest.find('/'); slash != std::string_view::npos && slash < colon) {
    protocol = rest.substr(0, slash);
    rest.remove_prefix(slash + 1);
    colon = rest.rfind(':');
  }
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view host = rest.substr(0, colon);
  std::string_view number = rest.substr(colon + 1);
  number = number.substr(0, number.find('.'));
  if (number.empty() || number.size() > 5 ||
      number.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  XAddress address;
  if (protocol == "unix" || (protocol.empty() && (host.empty() || host == "unix"))) {
    address.local_path = "/tmp/.X11-unix/X" + std::string(number);
    address.abstract_path = std::string(1, '\0') + address.local_path;
    return address;
  }
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  if (host.empty()) host = "localhost";
  address.host = host;
  address.port = 6000 + std::atoi(std::string(number).c_str());
  return address;
}

bool DisplayAnswers(const DisplayEnvironment& env) {
  if (env.qt_platform) {
    std::string_view list = env.qt_platform;
    while (!list.empty()) {
      size_t semicolon = list.find(';');
      if (PlatformUsable(list.substr(0, semicolon), env)) return true;
      if (semicolon == std::string_view::npos) break;
      list.remove_prefix(semicolon + 1);
    }
    if (IsSet(env.qt_platform)) return false;
  }
  return XAnswers(env.x_display) || (IsSet(env.wayland_display) && WaylandAnswers(env));
}

}  // namespace dovrek

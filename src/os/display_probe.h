#pragma once
// Whether the window system's display answers, found before the window system starts: Qt
// aborts the whole program when the display it was told to use cannot be opened.

#include <optional>
#include <string>

namespace dovrek {

// The environment that names a display (a null pointer for a variable that is not set).
struct DisplayEnvironment {
  const char* qt_platform = nullptr;      // QT_QPA_PLATFORM
  const char* x_display = nullptr;        // DISPLAY
  const char* wayland_display = nullptr;  // WAYLAND_DISPLAY
  const char* runtime_dir = nullptr;      // XDG_RUNTIME_DIR
};

// The process's own environment.
DisplayEnvironment CurrentDisplayEnvironment();

// Where an X display's server listens: a local socket path (with a leading NUL for Linux's
// abstract socket) or a TCP host and port.
struct XAddress {
  std::string host;  // empty: a local socket
  int port = 0;      // 6000 + display number, for TCP
  std::string local_path;
  std::string abstract_path;
};

// The address of an X display name "[protocol/][host]:number[.screen]"; nullopt when the name
// cannot be read. No host, "unix" or the "unix/" protocol is the local socket
// /tmp/.X11-unix/X<number>; any other host is TCP.
std::optional<XAddress> ParseXDisplay(const std::string& name);

// True when a window can be opened: one of the platforms QT_QPA_PLATFORM lists (";" between
// them, options after ":") is usable, or, with it unset, the X display or the Wayland display
// WAYLAND_DISPLAY names answers.
// "xcb" is usable when the X server accepts a connection, "wayland..." when the compositor's
// socket (WAYLAND_DISPLAY, default "wayland-0", under XDG_RUNTIME_DIR unless absolute) does;
// any other platform (offscreen, minimal, vnc, ...) needs no display and is usable. Waits at
// most about two seconds for a remote X server. Only the socket is looked at: whether the
// server then accepts this client, speaks X at all, or the platform is one Qt knows, is learnt
// by trying Qt itself (WindowSystemStarts in the window layer).
bool DisplayAnswers(const DisplayEnvironment& env);

}  // namespace dovrek

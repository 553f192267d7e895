#include "os/native_path.h"

#include <unistd.h>

#include <algorithm>

namespace dovrek {

std::string ToNativePath(std::string_view windows_path) {
  std::string out(windows_path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::string ToWindowsPath(std::string_view native_path) {
  std::string out(native_path);
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

std::string MakeAbsolute(std::string_view native_path) {
  if (!native_path.empty() && native_path[0] == '/') return std::string(native_path);
  std::string cwd;
  if (char* here = ::getcwd(nullptr, 0)) {
    cwd = here;
    ::free(here);
  }
  if (cwd.empty() || cwd.back() != '/') cwd.push_back('/');
  return cwd + std::string(native_path);
}

std::optional<std::string> FindExistingPath(std::string_view native_path,
                                            FolderListings* listings) {
  if (native_path.empty()) return std::nullopt;
  FolderListings own;
  if (!listings) listings = &own;
  Disk& disk = listings->disk();
  std::string exact(native_path);
  if (disk.Exists(exact)) return exact;
  // The folder found so far: "" stands for the root, "." for the current folder.
  std::string built = native_path[0] == '/' ? "" : ".";
  size_t pos = 0;
  while (pos <= native_path.size()) {
    size_t slash = native_path.find('/', pos);
    if (slash == std::string_view::npos) slash = native_path.size();
    std::string_view component = native_path.substr(pos, slash - pos);
    pos = slash + 1;
    if (component.empty()) continue;
    std::string candidate = built + "/" + std::string(component);
    if (!disk.Exists(candidate)) {
      if (component == "." || component == "..") return std::nullopt;
      std::optional<std::string> match = listings->Match(built, component);
      if (!match) return std::nullopt;
      candidate = built + "/" + *match;
    }
    built = std::move(candidate);
  }
  if (built.empty() || built == ".") return std::nullopt;
  return built;
}

std::string ProgramFolder() {
  std::string exe(4096, '\0');
  ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
  if (n <= 0) return ".";
  exe.resize(static_cast<size_t>(n));
  size_t slash = exe.rfind('/');
  return slash == 0 ? "/" : exe.substr(0, slash);
}

}  // namespace dovrek

#include "app/output_identity.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "app/command_line.h"
#include "os/native_path.h"
#include "os/resolved_path.h"

namespace dovrek {
namespace {

std::string Normalised(const std::string& native_path) {
  return std::filesystem::path(MakeAbsolute(native_path)).lexically_normal().string();
}

std::string FileKey(const struct stat& st) {
  return "file " + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

// Writing to the null device twice is harmless, so no two of its names are one output.
bool IsNullDevice(const struct stat& st) {
  struct stat null;
  return S_ISCHR(st.st_mode) && ::stat("/dev/null", &null) == 0 && st.st_rdev == null.st_rdev;
}

std::string UniqueKey() {
  static std::atomic<int> count{0};
  return "null " + std::to_string(++count);
}

}  // namespace

bool NamesStandardOutput(const std::string& native_path) {
  if (IsStandardOutput(native_path)) return true;
  std::string path = Normalised(native_path);
  return path == "/dev/stdout" || path == "/dev/fd/1" || path == "/proc/self/fd/1";
}

std::string OutputIdentity(const std::string& native_path) {
  struct stat st;
  if (NamesStandardOutput(native_path)) {
    // Redirected to a file, standard output is that file, which another output may also name.
    bool to_file = ::fstat(STDOUT_FILENO, &st) == 0 && S_ISREG(st.st_mode);
    return to_file ? FileKey(st) : kStandardOutputName;
  }
  if (::stat(native_path.c_str(), &st) == 0) return IsNullDevice(st) ? UniqueKey() : FileKey(st);
  // A link that may not be followed is refused when the output is opened; here it is a name.
  Status refused;
  return "path " + ResolvePath(native_path, &refused).value_or(Normalised(native_path));
}

std::string OutputOverAnInput(const std::vector<std::string>& outputs,
                              const std::vector<std::string>& inputs) {
  std::vector<std::string> keys;
  for (const std::string& input : inputs) {
    if (!input.empty()) keys.push_back(OutputIdentity(input));
  }
  for (const std::string& output : outputs) {
    if (output.empty() || IsStandardOutput(output)) continue;
    if (std::find(keys.begin(), keys.end(), OutputIdentity(output)) != keys.end()) return output;
  }
  return {};
}

}  // namespace dovrek

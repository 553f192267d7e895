#include "app/output_identity.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/native_path.h"
#include "app/command_line.h"

namespace dovrek {
namespace {

std::string Normalised(const std::string& native_path) {
  return std::filesystem::path(MakeAbsolute(native_path)).lexically_normal().string();
}

std::string FileKey(const struct stat& st) {
  return "file " + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
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
  if (::stat(native_path.c_str(), &st) == 0) return FileKey(st);
  return Normalised(native_path);
}

}  // namespace dovrek

#include "platform/temporary_folder.h"

#include <sys/stat.h>

#include <cstdlib>

namespace dovrek {

std::string TemporaryFolder() {
  const char* named = std::getenv("TMPDIR");
  struct stat st;
  if (named && *named && ::stat(named, &st) == 0 && S_ISDIR(st.st_mode)) return named;
  return "/tmp";
}

}  // namespace dovrek

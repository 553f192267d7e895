#include "os/folder_making.h"

#include <sys/stat.h>

#include <cerrno>

#include "os/system_error.h"

namespace dovrek {

Status MakeFolders(const std::string& native_folder) {
  for (size_t slash = native_folder.find('/', 1);; slash = native_folder.find('/', slash + 1)) {
    std::string folder = native_folder.substr(0, slash);
    struct stat found;
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
      return Status::IoError(FileErrorMessage(folder, errno));
    }
    if (::stat(folder.c_str(), &found) != 0 || !S_ISDIR(found.st_mode)) {
      return Status::IoError(FileErrorMessage(folder, ENOTDIR));
    }
    if (slash == std::string::npos) return Status::OK();
  }
}

}  // namespace dovrek

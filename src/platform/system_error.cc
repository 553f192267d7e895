#include "platform/system_error.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "platform/messages.h"

namespace dovrek {

std::string DescribeSystemError(int error) {
  switch (error) {
    case ENOENT:
      return kFileNotFound;
    case ENOTDIR:
      return kPathNotFound;
    case EISDIR:
      return kIsAFolder;
    case EACCES:
    case EPERM:
    case EROFS:
      return kAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return kDiskFull;
    case EIO:
      return kDeviceIoError;
    case EFBIG:
      return kFileTooLarge;
    case ENXIO:
      return kNoDevice;
    case ENAMETOOLONG:
      return kNameTooLong;
    default:
      return std::string(std::strerror(error));
  }
}

std::string FileErrorMessage(std::string_view native_path, int error) {
  return FileMessage(native_path, DescribeSystemError(error));
}

std::string MissingFolderMessage(std::string_view native_folder) {
  return FileMessage(native_folder, kFolderMissing);
}

std::string ExceptionMessage(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure)) return kOutOfMemory;
  return failure.what();
}

}  // namespace dovrek

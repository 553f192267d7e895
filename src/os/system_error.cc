#include "os/system_error.h"

#include <cerrno>
#include <new>

#include "os/os_messages.h"
#include "texts/failure_messages.h"

namespace dovrek {
namespace {

struct ErrorText {
  int error;
  const char* reading;  // the text when a file was being opened, looked up or read
  const char* writing;  // the text when a file was being written, made, renamed or removed
};

// Every errno value a file operation of the program can meet. A failure that only writing
// meets (a read-only file system, a full disk) has the same text both ways.
constexpr ErrorText kErrorTexts[] = {
    {ENOENT, kFileNotFound, kFileNotFound},
    {ENOTDIR, kPathNotFound, kPathNotFound},
    {EISDIR, kIsAFolder, kIsAFolder},
    {EACCES, kReadAccessDenied, kAccessDenied},
    {EPERM, kReadNotPermitted, kNotPermitted},
    {EROFS, kReadOnlyFileSystem, kReadOnlyFileSystem},
    {ELOOP, kLinkLoop, kLinkLoop},
    {EBADF, kBadHandle, kBadHandle},
    {ENAMETOOLONG, kNameTooLong, kNameTooLong},
    {ENOSPC, kDiskFull, kDiskFull},
    {EDQUOT, kQuotaExceeded, kQuotaExceeded},
    {EFBIG, kFileTooLarge, kFileTooLarge},
    {EOVERFLOW, kFileTooLarge, kFileTooLarge},
    {EIO, kDeviceIoError, kDeviceIoError},
    {ENXIO, kNoDevice, kNoDevice},
    {ENODEV, kNoDevice, kNoDevice},
    {EPIPE, kPipeClosed, kPipeClosed},
    {ENOMEM, kOutOfMemory, kOutOfMemory},
    {EMFILE, kTooManyOpenFiles, kTooManyOpenFiles},
    {ENFILE, kTooManyOpenFiles, kTooManyOpenFiles},
    {EBUSY, kBusy, kBusy},
    {ETXTBSY, kRunningProgram, kRunningProgram},
    {EEXIST, kAlreadyExists, kAlreadyExists},
    {EXDEV, kOtherFileSystem, kOtherFileSystem},
    {EINVAL, kInvalidArgument, kInvalidArgument},
    {ENOTEMPTY, kFolderNotEmpty, kFolderNotEmpty},
    {EAGAIN, kTryAgain, kTryAgain},
    {ESPIPE, kNotSeekable, kNotSeekable},
    {EOPNOTSUPP, kNotSupported, kNotSupported},
    {ESTALE, kStaleHandle, kStaleHandle},
    {ETIMEDOUT, kTimedOut, kTimedOut},
    {EINTR, kInterrupted, kInterrupted},
};

}  // namespace

std::string DescribeSystemError(int error, FileAccess access) {
  // EWOULDBLOCK and ENOTSUP are other names of EAGAIN and EOPNOTSUPP on this system.
  if (error == EWOULDBLOCK) error = EAGAIN;
  if (error == ENOTSUP) error = EOPNOTSUPP;
  for (const ErrorText& text : kErrorTexts) {
    if (text.error == error) return access == FileAccess::kReading ? text.reading : text.writing;
  }
  return UnknownSystemError(error);
}

std::string FileErrorMessage(std::string_view native_path, int error) {
  return FileMessage(native_path, DescribeSystemError(error, FileAccess::kWriting));
}

std::string FileReadErrorMessage(std::string_view native_path, int error) {
  return FileMessage(native_path, DescribeSystemError(error, FileAccess::kReading));
}

std::string MissingFolderMessage(std::string_view native_folder) {
  return FileMessage(native_folder, kFolderMissing);
}

std::string ExceptionMessage(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure)) return kOutOfMemory;
  return failure.what();
}

}  // namespace dovrek

#include "platform/system_error.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace dovrek {

std::string DescribeSystemError(int error) {
  switch (error) {
    case ENOENT:
      return "ファイルが見つかりません。";
    case ENOTDIR:
      return "パスが見つかりません。";
    case EISDIR:
      return "パス/ファイル アクセス エラーです。(フォルダです)";
    case EACCES:
    case EPERM:
    case EROFS:
      return "書き込みできません。(アクセスが拒否されました)";
    case ENOSPC:
    case EDQUOT:
      return "ディスクの空き容量が不足しています。";
    case EIO:
      return "デバイス I/O エラーです。";
    case EFBIG:
      return "ファイルが大きすぎます。";
    case ENXIO:
      return "デバイスが見つかりません。(読み手のいないパイプなど)";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます。";
    default:
      return std::string(std::strerror(error));
  }
}

std::string FileErrorMessage(std::string_view native_path, int error) {
  return std::string(native_path) + ": " + DescribeSystemError(error);
}

std::string MissingFolderMessage(std::string_view native_folder) {
  return std::string(native_folder) + ": フォルダが存在しません。";
}

std::string ExceptionMessage(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure)) return kOutOfMemory;
  return failure.what();
}

}  // namespace dovrek

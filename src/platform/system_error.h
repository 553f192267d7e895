#pragma once
// Descriptions of operating-system failures, worded as the program's other messages are.

#include <exception>
#include <string>
#include <string_view>

#include "platform/messages.h"

namespace dovrek {

// A description of errno value `error`, in Japanese for the common cases.
std::string DescribeSystemError(int error);

// "<path>: <description of error>", the form every file failure is reported in.
std::string FileErrorMessage(std::string_view native_path, int error);

// "<folder>: フォルダが存在しません。", for a file that cannot be created because its folder is
// missing: naming the file would suggest the file itself was expected to exist.
std::string MissingFolderMessage(std::string_view native_folder);

// What an exception says to the user: kOutOfMemory for std::bad_alloc (whose own text means
// nothing to a user), otherwise its what().
std::string ExceptionMessage(const std::exception& failure);

}  // namespace dovrek

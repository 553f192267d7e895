#pragma once
// Descriptions of operating-system failures, worded as the program's other messages are.

#include <exception>
#include <string>
#include <string_view>

namespace dovrek {

// What the failing operation was doing with the file: a permission failure says whether the
// file could not be read or could not be written.
enum class FileAccess { kReading, kWriting };

// A description of errno value `error`, in Japanese for every value a file operation of this
// program can meet; an unknown value is named by its number.
std::string DescribeSystemError(int error, FileAccess access);

// "<path>: <description of error>", the form every failure to write, make, rename or remove a
// file is reported in.
std::string FileErrorMessage(std::string_view native_path, int error);

// The same for a failure to open, look up or read a file.
std::string FileReadErrorMessage(std::string_view native_path, int error);

// "<folder>: フォルダが存在しません。", for a file that cannot be created because its folder is
// missing: naming the file would suggest the file itself was expected to exist.
std::string MissingFolderMessage(std::string_view native_folder);

// What an exception says to the user: kOutOfMemory for std::bad_alloc (whose own text means
// nothing to a user), otherwise its what().
std::string ExceptionMessage(const std::exception& failure);

}  // namespace dovrek

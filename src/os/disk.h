#pragma once
// The file system as the readers see it: open a file for reading and read it, ask what a path
// names, list a folder. The program runs on RealDisk(); a test may put a disk of its own in its
// place to make a failure happen on demand.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"

namespace dovrek {

// What a path names, symbolic links followed.
enum class FileKind { kMissing, kRegular, kFolder, kOther };

// A file open for reading. Failures are described as "<path>: <reason>".
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // Reads up to `size` bytes from the current position into `into`; *got is 0 at the end of
  // the file.
  virtual Status Read(char* into, size_t size, size_t* got) = 0;
  // Reads up to `size` bytes at `offset` without moving the current position; answers the
  // number read, 0 at the end of the file or on a failure.
  virtual size_t ReadAt(uint64_t offset, char* into, size_t size) = 0;
};

class Disk {
 public:
  virtual ~Disk() = default;
  // Opens a regular file by its native path; folders, FIFOs and devices are refused without
  // blocking. On success *file holds the open file.
  virtual Status OpenForReading(const std::string& native_path,
                                std::unique_ptr<ReadableFile>* file) = 0;
  // What the native path names.
  virtual FileKind Kind(const std::string& native_path) = 0;
  // True when the native path names anything, a dangling symbolic link included.
  virtual bool Exists(const std::string& native_path) = 0;
  // The names in the native folder ("" for the root), "." and ".." included; false when it
  // cannot be listed.
  virtual bool ListFolder(const std::string& native_folder, std::vector<std::string>* names) = 0;
};

// The disk of the running process, shared by every caller.
Disk& RealDisk();

// Appends the bytes of the regular file at the native path on `disk` to *bytes; NotFound when
// nothing is there. A file over `most` bytes is read no further: BadInput, "<path>: " and
// kFileTooLarge.
Status ReadWholeFile(Disk& disk, const std::string& native_path, std::string* bytes,
                     size_t most = SIZE_MAX);

}  // namespace dovrek

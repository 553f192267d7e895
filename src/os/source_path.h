#pragma once
// The path of an input file (a project file, a member file), made once where it enters the
// program and looked up once. It keeps the three forms the program needs: the Windows form that
// folders and file names are cut from, the form shown in messages, and the native path of the
// file actually found (another letter case may have matched). It also remembers the disk it was
// looked up on, which is the disk the file is then read from.

#include <string>
#include <string_view>

#include "os/disk.h"
#include "os/folder_listings.h"
#include "base/status.h"

namespace dovrek {

class SourcePath {
 public:
  // No path: names nothing that exists.
  SourcePath() = default;

  // A path in the program's Windows form ("\" the only separator), looked up on the disk of
  // `listings` as FindExistingPath does, through those listings.
  static SourcePath Locate(std::string windows_form, FolderListings& listings);
  // The same on the real disk, listing folders afresh.
  static SourcePath Locate(std::string windows_form);
  // A path as the user typed it (native, maybe relative), made absolute against the current
  // folder; empty stays empty.
  static SourcePath FromTyped(std::string_view native_path, Disk& disk = RealDisk());

  bool empty() const { return windows_.empty(); }
  // The Windows form, as given.
  const std::string& windows() const { return windows_; }
  // The path as messages name it: the Windows form with "/" for "\".
  const std::string& display() const { return display_; }
  // The native path of the file or folder found for it; empty when nothing was found.
  const std::string& found() const { return found_; }
  bool exists() const { return !found_.empty(); }
  // True when what was found is a regular file.
  bool IsFile() const { return kind_ == FileKind::kRegular; }
  // Why the path cannot be read as a file, described as "<display>: <reason>": OK for a
  // regular file, NotFound when nothing is there, otherwise what is in the way (a folder, a
  // FIFO or device, a link loop, a folder on the way that may not be searched).
  Status ReadProblem() const;
  // The disk it was looked up on; never null.
  Disk& disk() const { return *disk_; }

 private:
  std::string windows_;
  std::string display_;
  std::string found_;
  FileKind kind_ = FileKind::kMissing;
  Disk* disk_ = &RealDisk();
};

}  // namespace dovrek

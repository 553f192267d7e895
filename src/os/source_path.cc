#include "os/source_path.h"

#include <cerrno>
#include <memory>
#include <optional>
#include <utility>

#include "os/os_messages.h"
#include "texts/failure_messages.h"
#include "os/native_path.h"
#include "os/system_error.h"

namespace dovrek {

SourcePath SourcePath::Locate(std::string windows_form, FolderListings& listings) {
  SourcePath path;
  path.display_ = ToNativePath(windows_form);
  path.windows_ = std::move(windows_form);
  path.disk_ = &listings.disk();
  // Most paths name a file exactly as written: one look at it settles both questions.
  if (FileKind kind = path.disk_->Kind(path.display_); kind != FileKind::kMissing) {
    path.found_ = path.display_;
    path.kind_ = kind;
    return path;
  }
  if (std::optional<std::string> found = FindExistingPath(path.display_, &listings)) {
    path.found_ = std::move(*found);
    path.kind_ = path.disk_->Kind(path.found_);
  }
  return path;
}

SourcePath SourcePath::Locate(std::string windows_form) {
  FolderListings listings;
  return Locate(std::move(windows_form), listings);
}

SourcePath SourcePath::FromTyped(std::string_view native_path, Disk& disk) {
  FolderListings listings(disk);
  if (native_path.empty()) return Locate("", listings);
  return Locate(ToWindowsPath(MakeAbsolute(native_path)), listings);
}

Status SourcePath::ReadProblem() const {
  switch (kind_) {
    case FileKind::kRegular:
      return Status::OK();
    case FileKind::kFolder:
      return Status::IoError(FileReadErrorMessage(display_, EISDIR));
    case FileKind::kOther:
      return Status::IoError(FileMessage(display_, kNotARegularFile));
    case FileKind::kMissing:
      break;
  }
  // Nothing was found: opening the path as written tells why (no such file, a link loop, a
  // folder that may not be searched). It fails without side effects for a path that names
  // nothing; what appeared since the lookup is still reported as missing.
  std::unique_ptr<ReadableFile> file;
  Status opened = disk_->OpenForReading(display_, &file);
  if (opened.ok()) return Status::NotFound(FileReadErrorMessage(display_, ENOENT));
  return opened;
}

}  // namespace dovrek

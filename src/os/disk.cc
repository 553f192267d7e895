#include "os/disk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os/os_messages.h"
#include "texts/failure_messages.h"
#include "os/system_error.h"

namespace dovrek {
namespace {

class RealFile : public ReadableFile {
 public:
  RealFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~RealFile() override { ::close(fd_); }
  RealFile(const RealFile&) = delete;
  RealFile& operator=(const RealFile&) = delete;

  Status Read(char* into, size_t size, size_t* got) override {
    ssize_t n;
    do {
      n = ::read(fd_, into, size);
    } while (n < 0 && errno == EINTR);
    *got = n < 0 ? 0 : static_cast<size_t>(n);
    return n < 0 ? Status::IoError(FileReadErrorMessage(path_, errno)) : Status::OK();
  }

  size_t ReadAt(uint64_t offset, char* into, size_t size) override {
    ssize_t n;
    do {
      n = ::pread(fd_, into, size, static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    return n < 0 ? 0 : static_cast<size_t>(n);
  }

 private:
  int fd_;
  std::string path_;
};

// A failure to open, NotFound when nothing is there.
Status OpenFailure(const std::string& path, int error) {
  std::string message = FileReadErrorMessage(path, error);
  return error == ENOENT ? Status::NotFound(message) : Status::IoError(message);
}

class RealDiskImpl : public Disk {
 public:
  Status OpenForReading(const std::string& native_path,
                        std::unique_ptr<ReadableFile>* file) override {
    int fd = ::open(native_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return OpenFailure(native_path, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
      int saved = errno;
      ::close(fd);
      return OpenFailure(native_path, saved);
    }
    if (!S_ISREG(st.st_mode)) {
      ::close(fd);
      return S_ISDIR(st.st_mode) ? Status::IoError(FileReadErrorMessage(native_path, EISDIR))
                                 : Status::IoError(FileMessage(native_path, kNotARegularFile));
    }
    // O_NONBLOCK kept a FIFO or device from blocking the open; reads of a regular file never
    // block, so it is left set rather than cleared with two more system calls a file.
    *file = std::make_unique<RealFile>(fd, native_path);
    return Status::OK();
  }

  FileKind Kind(const std::string& native_path) override {
    struct stat st;
    if (::stat(native_path.c_str(), &st) != 0) return FileKind::kMissing;
    if (S_ISREG(st.st_mode)) return FileKind::kRegular;
    return S_ISDIR(st.st_mode) ? FileKind::kFolder : FileKind::kOther;
  }

  bool Exists(const std::string& native_path) override {
    struct stat st;
    return ::lstat(native_path.c_str(), &st) == 0 || ::stat(native_path.c_str(), &st) == 0;
  }

  bool ListFolder(const std::string& native_folder, std::vector<std::string>* names) override {
    DIR* dir = ::opendir(native_folder.empty() ? "/" : native_folder.c_str());
    if (!dir) return false;
    while (struct dirent* entry = ::readdir(dir)) names->emplace_back(entry->d_name);
    ::closedir(dir);
    return true;
  }
};

}  // namespace

Disk& RealDisk() {
  static RealDiskImpl disk;
  return disk;
}

Status ReadWholeFile(Disk& disk, const std::string& native_path, std::string* bytes, size_t most) {
  std::unique_ptr<ReadableFile> file;
  if (Status opened = disk.OpenForReading(native_path, &file); !opened.ok()) return opened;
  std::string chunk(1 << 16, '\0');
  const size_t start = bytes->size();
  for (size_t got = 1; got > 0;) {
    if (Status read = file->Read(chunk.data(), chunk.size(), &got); !read.ok()) return read;
    if (bytes->size() - start + got > most) {
      return Status::BadInput(FileMessage(native_path, kFileTooLarge));
    }
    bytes->append(chunk, 0, got);
  }
  return Status::OK();
}

}  // namespace dovrek

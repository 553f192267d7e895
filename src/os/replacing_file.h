#pragma once
// Writes a file so that an earlier version is replaced only when the new one is complete: the
// bytes go to a temporary file in the same folder, which is renamed over the target on Commit.
// Symbolic links are followed, in the folders of the path too (the file they lead to is
// replaced, not the link; a link to a file that does not exist yet creates that file), except a
// link in a sticky, world-writable folder that belongs neither to the caller nor to the
// folder's owner, which is refused (see resolved_path.h). A target that exists and is not a
// regular file (a device such as /dev/full, a FIFO) is written in place, so the program never
// replaces a device node. The new file keeps the replaced one's owner (where the caller may set
// it), group (where the caller is a member of it, else the group's permission bits are dropped)
// and permission bits. An existing, writable file in a folder that takes no new file is
// rewritten in place; in an OutputTransaction that happens only when the run's outputs are put
// in place. Temporary files are removed when the program is ended by a signal (see
// interrupt_cleanup.h).
// Every failure is described as "path: reason", except that a file whose folder does not exist
// is described as "folder: フォルダが存在しません。".

#include <memory>
#include <string>
#include <string_view>

#include "os/buffered_writer.h"
#include "base/status.h"

struct stat;

namespace dovrek {

class OutputTransaction;

class ReplacingFile {
 public:
  // Without a transaction, Commit puts the file in place at once; with one, the transaction
  // does when it commits.
  explicit ReplacingFile(OutputTransaction* transaction = nullptr) : transaction_(transaction) {}
  ~ReplacingFile();  // abandons an uncommitted file
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Prepares to write the native path. An existing file that may not be written is refused
  // rather than renamed over. Every failure abandons the file.
  Status Open(const std::string& native_path);
  bool is_open() const { return fd_ >= 0; }
  // Buffers bytes; writes out when the buffer is full.
  Status Write(std::string_view bytes);
  // The open file's writer, for outputs written piece by piece; a failure it meets is
  // reported by Commit. Valid while is_open().
  BufferedWriter& writer() { return *writer_; }
  // Writes what is buffered, closes the file and puts it in place of the target (or leaves
  // that to the transaction, see output_transaction.h).
  Status Commit();
  // Drops the temporary file; the target stays as it was.
  void Abandon();

  const std::string& path() const { return path_; }

 private:
  Status Flush();
  Status Fail(int error_number);
  Status OpenInPlace(int flags);
  Status OpenForLaterInPlace();
  bool OpenTemporary(const struct stat* old);
  void StartWriting();

  OutputTransaction* transaction_;  // null: each file goes in place on its own
  std::string path_;             // the target, as given
  std::string target_;           // the target with symbolic links resolved
  std::string temporary_;        // empty when writing in place
  bool in_place_later_ = false;  // the temporary file is to be copied into the target
  std::unique_ptr<BufferedWriter> writer_;
  int fd_ = -1;
  int cleanup_slot_ = -1;  // the temporary file's entry for removal on a signal
};

// Replaces a file's whole content as ReplacingFile does.
Status WriteWholeFile(const std::string& native_path, std::string_view bytes,
                      OutputTransaction* transaction = nullptr);

}  // namespace dovrek

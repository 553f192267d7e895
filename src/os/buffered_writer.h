#pragma once
// Writes bytes through one fixed buffer, reused for the whole output, either to a file
// descriptor or onto the end of a string. Outputs are written piece by piece straight from what
// they describe, so no output is ever held whole in memory, and the buffer's pages are touched
// once. A piece larger than the room left goes out directly instead of being copied.
//
// A failed write is remembered: later writes do nothing, and Flush answers false with error()
// describing the first failure as "<name>: <reason>". Callers may therefore write a whole
// output without checking each piece and check once at the end.

#include <memory>
#include <string>
#include <string_view>

namespace dovrek {

class BufferedWriter {
 public:
  static constexpr size_t kBufferSize = 64 * 1024;

  // Writes to `fd`, which stays the caller's to close; `name` names it in error().
  BufferedWriter(int fd, std::string name);
  // Appends to *bytes, which must outlive the writer.
  explicit BufferedWriter(std::string* bytes);
  ~BufferedWriter();  // drops what is still buffered: call Flush to write it out
  BufferedWriter(const BufferedWriter&) = delete;
  BufferedWriter& operator=(const BufferedWriter&) = delete;

  void Append(std::string_view bytes) {
    if (bytes.size() <= kBufferSize - used_) {
      bytes.copy(buffer_.get() + used_, bytes.size());
      used_ += bytes.size();
    } else {
      AppendLarge(bytes);
    }
  }
  void Put(char c) {
    if (used_ == kBufferSize) Drain();
    buffer_[used_++] = c;
  }

  // For a regular file that is made durable when complete: every `bytes` written, asks the
  // kernel to start writing the file to disk, so that the disk works while the rest is made
  // and the final fsync waits for little.
  void StartWriteBackEvery(size_t bytes) { write_back_step_ = bytes; }

  // Writes out what is buffered. False once any write has failed.
  bool Flush();
  bool ok() const { return error_number_ == 0; }
  // The errno of the first failure, 0 while ok().
  int error_number() const { return error_number_; }
  // "<name>: <reason>" of the first failure, empty while ok().
  std::string error() const;

 private:
  void AppendLarge(std::string_view bytes);
  void Drain();
  void WriteOut(std::string_view bytes);

  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  int fd_ = -1;
  std::string* bytes_ = nullptr;
  std::string name_;
  int error_number_ = 0;
  size_t write_back_step_ = 0;  // 0: none asked for
  size_t not_written_back_ = 0;
};

}  // namespace dovrek

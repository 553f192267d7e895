#pragma once
// Reads a text file line by line in one buffered pass, decoding each line to UTF-8.
// A file that starts with a byte-order mark is UTF-8 or UTF-16 (little or big endian) as the
// mark says (the mark is dropped); any other file is in the encoding the reader is made with.
// Lines end at CR LF, a lone CR or a lone LF; the end is not part of the line. Memory is bounded
// by the buffer and the longest line.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "codepage/encoding.h"
#include "os/disk.h"
#include "os/source_path.h"
#include "base/status.h"

namespace dovrek {

class LineReader {
 public:
  // Reads files without a byte-order mark in `plain`.
  explicit LineReader(Encoding plain = Encoding::kCp932) : plain_(plain) {}
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Opens a regular file by its native path on `disk`. Folders, FIFOs and devices are refused
  // without blocking. A failure names the file.
  Status Open(const std::string& native_path, Disk& disk = RealDisk());
  // Opens the file found for `path` on the disk it was looked up on; NotFound, naming the path
  // as messages show it, when nothing was found.
  Status Open(const SourcePath& path);

  // Reads the next line into *line. Returns false at the end of the file, or on a read failure,
  // which status() then describes.
  bool ReadLine(std::string* line);

  // OK, or the failure that ended the last Open or ReadLine.
  const Status& status() const { return status_; }

  // The number of the line last returned, counting from 1.
  long LineNumber() const { return line_number_; }

  void Close();

 private:
  enum class Units { kBytes, kUtf16Le, kUtf16Be };

  bool Fill();
  bool ReadRaw(char* into, size_t size, size_t* got);
  bool FillFromUtf16();
  size_t ConvertUtf16(size_t room, std::string* utf8) const;
  // True when the file is read to its end and nothing read waits to be converted.
  bool Exhausted() const { return eof_ && utf16_.empty(); }
  bool DetectMark();
  bool SkipLineFeedAfterCr();
  // The first CR or LF in the `avail` bytes at `start`, or nullptr; sets *high when a byte
  // at or above 0x80 comes before it.
  static const char* FindLineEnd(const char* start, size_t avail, bool* high);
  void DecodeInto(std::string_view raw, bool ascii, std::string* line) const;
  void Keep(const char* start, size_t avail, bool* measured);
  size_t LengthAhead() const;
  void TakePending(bool ascii, std::string* line);

  std::unique_ptr<ReadableFile> file_;
  Status status_;
  uint64_t read_ = 0;               // bytes read from the file so far
  std::unique_ptr<char[]> buffer_;  // kBufferSize bytes, made at the first Open
  size_t begin_ = 0;
  size_t end_ = 0;
  bool eof_ = false;
  Encoding plain_;
  Encoding encoding_ = Encoding::kCp932;  // of the file open: plain_ or what its mark says
  Units units_ = Units::kBytes;
  std::string utf16_;  // UTF-16 bytes read but not yet converted (an odd byte, a high surrogate)
  long line_number_ = 0;
  std::string pending_;
};

}  // namespace dovrek

#include "platform/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <bit>
#include <cstring>

#include "platform/system_error.h"
#include "platform/text_codec.h"

namespace dovrek {
namespace {
constexpr size_t kBufferSize = 1 << 16;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of each byte of `word` that equals `byte`; bits above the lowest may be wrong,
// the lowest is exact.
uint64_t BytesEqual(uint64_t word, unsigned char byte) {
  uint64_t x = word ^ (kOnes * byte);
  return (x - kOnes) & ~x & kHighBits;
}
}  // namespace

LineReader::~LineReader() { Close(); }

void LineReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool LineReader::Open(const std::string& native_path, std::string* error) {
  Close();
  path_ = native_path;
  int fd = ::open(native_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = FileErrorMessage(native_path, errno);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    int saved = errno;
    ::close(fd);
    *error = FileErrorMessage(native_path, saved);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    *error = S_ISDIR(st.st_mode) ? FileErrorMessage(native_path, EISDIR)
                                 : native_path + ": 通常のファイルではありません。";
    return false;
  }
  // A regular file never blocks; reads go on in blocking mode.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fd_ = fd;
  buffer_.assign(kBufferSize, '\0');
  begin_ = end_ = 0;
  eof_ = false;
  utf8_ = false;
  line_number_ = 0;
  return DetectMark(error);
}

bool LineReader::Fill(std::string* error) {
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  ssize_t got;
  do {
    got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    *error = FileErrorMessage(path_, errno);
    return false;
  }
  if (got == 0) eof_ = true;
  end_ += static_cast<size_t>(got);
  return true;
}

bool LineReader::DetectMark(std::string* error) {
  while (!eof_ && end_ < kUtf8Mark.size()) {
    if (!Fill(error)) return false;
  }
  if (std::string_view(buffer_.data(), end_).substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    utf8_ = true;
    begin_ = kUtf8Mark.size();
  }
  return true;
}

void LineReader::DecodeInto(std::string_view raw, bool ascii, std::string* line) const {
  line->clear();
  if (ascii) {
    line->assign(raw);
  } else if (utf8_) {
    AppendSanitizedUtf8(raw, line);
  } else {
    AppendCp932AsUtf8(raw, line);
  }
}

bool LineReader::ReadLine(std::string* line, std::string* error) {
  if (fd_ < 0) return false;
  pending_.clear();
  bool spans = false;
  bool high = false;
  for (;;) {
    if (begin_ == end_) {
      if (eof_) break;
      if (!Fill(error)) return false;
      continue;
    }
    const char* start = buffer_.data() + begin_;
    size_t avail = end_ - begin_;
    const char* found = FindLineEnd(start, avail, &high);
    if (!found) {
      pending_.append(start, avail);
      spans = true;
      begin_ = end_;
      continue;
    }
    size_t length = static_cast<size_t>(found - start);
    begin_ += length + 1;
    ++line_number_;
    if (spans) {
      pending_.append(start, length);
      TakePending(!high, line);
    } else {
      DecodeInto(std::string_view(start, length), !high, line);
    }
    if (*found == '\r') return SkipLineFeedAfterCr(error);
    return true;
  }
  if (!spans) return false;
  ++line_number_;
  TakePending(!high, line);
  return true;
}

// A line that spanned buffers is handed over without a second copy when it needs no decoding,
// and a long one does not keep its memory for the rest of the file.
void LineReader::TakePending(bool ascii, std::string* line) {
  if (ascii) {
    line->swap(pending_);
  } else {
    DecodeInto(pending_, false, line);
  }
  if (pending_.capacity() > 4 * kBufferSize) std::string().swap(pending_);
}

// Eight bytes at a time: the word loop carries most of the work, and the ASCII test rides
// along instead of taking a second pass over the line.
const char* LineReader::FindLineEnd(const char* start, size_t avail, bool* high) {
  size_t i = 0;
  uint64_t seen = 0;
  for (; i + 8 <= avail; i += 8) {
    uint64_t word;
    std::memcpy(&word, start + i, sizeof word);
    uint64_t ends = BytesEqual(word, '\n') | BytesEqual(word, '\r');
    if (ends == 0) {
      seen |= word;
      continue;
    }
    if constexpr (std::endian::native == std::endian::little) {
      // The lowest flagged byte is the first line end; only the bytes before it count.
      int bits = std::countr_zero(ends) & ~7;
      seen |= word & ((uint64_t{1} << bits) - 1);
      if (seen & kHighBits) *high = true;
      return start + i + bits / 8;
    }
    break;
  }
  if (seen & kHighBits) *high = true;
  for (; i < avail; ++i) {
    unsigned char c = static_cast<unsigned char>(start[i]);
    if (c == '\n' || c == '\r') return start + i;
    if (c >= 0x80) *high = true;
  }
  return nullptr;
}

bool LineReader::SkipLineFeedAfterCr(std::string* error) {
  if (begin_ == end_ && !eof_ && !Fill(error)) return false;
  if (begin_ < end_ && buffer_[begin_] == '\n') ++begin_;
  return true;
}

}  // namespace dovrek

#include "platform/native_path.h"

namespace dovrek {

bool OpenWindowsPath(LineReader* reader, const std::string& windows_path, std::string* error) {
  std::string native = ToNativePath(windows_path);
  std::optional<std::string> found = FindExistingPath(native);
  if (!found) {
    *error = FileErrorMessage(native, ENOENT);
    return false;
  }
  return reader->Open(*found, error);
}

}  // namespace dovrek

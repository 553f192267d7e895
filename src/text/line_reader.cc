#include "text/line_reader.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "base/byte_words.h"
#include "codepage/text_codec.h"

namespace dovrek {
namespace {
constexpr size_t kBufferSize = 1 << 16;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

LineReader::~LineReader() { Close(); }

void LineReader::Close() { file_.reset(); }

Status LineReader::Open(const SourcePath& path) {
  if (!path.exists()) {
    Close();
    status_ = path.ReadProblem();
    return status_;
  }
  return Open(path.found(), path.disk());
}

Status LineReader::Open(const std::string& native_path, Disk& disk) {
  Close();
  status_ = disk.OpenForReading(native_path, &file_);
  if (!status_.ok()) return status_;
  read_ = 0;
  // Bytes are read into the buffer before they are looked at: it needs no zeroing.
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  begin_ = end_ = 0;
  eof_ = false;
  encoding_ = plain_;
  units_ = Units::kBytes;
  utf16_.clear();
  line_number_ = 0;
  DetectMark();
  return status_;
}

bool LineReader::Fill() {
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (units_ != Units::kBytes) return FillFromUtf16();
  size_t got = 0;
  if (!ReadRaw(buffer_.get() + end_, kBufferSize - end_, &got)) return false;
  end_ += got;
  return true;
}

// A failure closes the file, so that later calls find nothing more to read.
bool LineReader::ReadRaw(char* into, size_t size, size_t* got) {
  status_ = file_->Read(into, size, got);
  if (!status_.ok()) {
    Close();
    return false;
  }
  if (*got == 0) eof_ = true;
  read_ += *got;
  return true;
}

// Reads UTF-16 and puts its UTF-8 form into the buffer, so that lines are split as in any other
// file. Two bytes of UTF-16 take at most three of UTF-8; what does not fit waits in utf16_.
bool LineReader::FillFromUtf16() {
  const size_t room = kBufferSize - end_;
  const size_t wanted = room / 3 * 2;
  if (utf16_.size() < wanted && !eof_) {
    size_t kept = utf16_.size();
    utf16_.resize(wanted);
    size_t got = 0;
    if (!ReadRaw(utf16_.data() + kept, wanted - kept, &got)) return false;
    utf16_.resize(kept + got);
  }
  std::string utf8;
  utf16_.erase(0, ConvertUtf16(room, &utf8));
  if (eof_ && utf16_.size() == 1 && utf8.size() + 3 <= room) {  // an odd byte at the end
    AppendUtf8(0xFFFD, &utf8);
    utf16_.clear();
  }
  std::memcpy(buffer_.get() + end_, utf8.data(), utf8.size());
  end_ += utf8.size();
  return true;
}

// Converts the waiting UTF-16 units to UTF-8 while `room` bytes take them, a lone surrogate
// becoming U+FFFD; a high surrogate whose pair is not read yet waits. Answers the bytes used.
size_t LineReader::ConvertUtf16(size_t room, std::string* utf8) const {
  const bool little = units_ == Units::kUtf16Le;
  auto unit_at = [&](size_t i) -> char32_t {
    auto lo = static_cast<unsigned char>(utf16_[little ? i : i + 1]);
    auto hi = static_cast<unsigned char>(utf16_[little ? i + 1 : i]);
    return static_cast<char32_t>(hi << 8 | lo);
  };
  size_t i = 0;
  while (i + 2 <= utf16_.size() && utf8->size() + 4 <= room) {
    char32_t unit = unit_at(i);
    size_t used = 2;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 4 > utf16_.size() && !eof_) break;  // its pair comes with the next read
      char32_t low = i + 4 <= utf16_.size() ? unit_at(i + 2) : 0;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        used = 4;
      } else {
        unit = 0xFFFD;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      unit = 0xFFFD;
    }
    AppendUtf8(unit, utf8);
    i += used;
  }
  return i;
}

bool LineReader::DetectMark() {
  while (!eof_ && end_ < kUtf8Mark.size()) {
    if (!Fill()) return false;
  }
  std::string_view head(buffer_.get(), end_);
  if (head.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    encoding_ = Encoding::kUtf8;
    begin_ = kUtf8Mark.size();
  } else if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF") {
    encoding_ = Encoding::kUtf8;
    units_ = head[0] == '\xFF' ? Units::kUtf16Le : Units::kUtf16Be;
    utf16_.assign(head.substr(2));  // read already; converted by the next Fill
    begin_ = end_ = 0;
  }
  return true;
}

void LineReader::DecodeInto(std::string_view raw, bool ascii, std::string* line) const {
  line->clear();
  if (ascii) {
    line->assign(raw);
  } else {
    AppendDecoded(raw, encoding_, line);
  }
}

bool LineReader::ReadLine(std::string* line) {
  if (!file_) return false;
  pending_.clear();
  bool spans = false;
  bool high = false;
  bool measured = false;
  for (;;) {
    if (begin_ == end_) {
      if (Exhausted()) break;
      if (!Fill()) return false;
      continue;
    }
    const char* start = buffer_.get() + begin_;
    size_t avail = end_ - begin_;
    const char* found = FindLineEnd(start, avail, &high);
    if (!found) {
      Keep(start, avail, &measured);
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
    if (*found == '\r') return SkipLineFeedAfterCr();
    return true;
  }
  if (!spans) return false;
  ++line_number_;
  TakePending(!high, line);
  return true;
}

// Adds the part of a line that goes on past the buffer. Once the line has outgrown a buffer,
// the rest of it is measured ahead in the file and room made for all of it at once: growing by
// doubling would hold a long line up to twice over while it is copied.
void LineReader::Keep(const char* start, size_t avail, bool* measured) {
  if (!*measured && !pending_.empty() && units_ == Units::kBytes) {
    *measured = true;
    pending_.reserve(pending_.size() + avail + LengthAhead());
  }
  pending_.append(start, avail);
}

// The bytes from the read position to the next line end or the end of the file, read again
// with pread so that the position stays.
size_t LineReader::LengthAhead() const {
  std::string chunk(kBufferSize, '\0');
  uint64_t at = read_;
  size_t length = 0;
  for (;;) {
    size_t n = file_->ReadAt(at, chunk.data(), chunk.size());
    if (n == 0) return length;
    bool high = false;
    if (const char* end = FindLineEnd(chunk.data(), n, &high)) {
      return length + static_cast<size_t>(end - chunk.data());
    }
    length += n;
    at += n;
  }
}

// A line that spanned buffers is handed over without a second copy when it needs no decoding
// (ASCII, or valid UTF-8 in a UTF-8 file), and a long one does not keep its memory for the
// rest of the file.
void LineReader::TakePending(bool ascii, std::string* line) {
  if (ascii || (encoding_ == Encoding::kUtf8 && IsValidUtf8(pending_))) {
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
      if (seen & kByteHighBits) *high = true;
      return start + i + bits / 8;
    }
    break;
  }
  if (seen & kByteHighBits) *high = true;
  for (; i < avail; ++i) {
    unsigned char c = static_cast<unsigned char>(start[i]);
    if (c == '\n' || c == '\r') return start + i;
    if (c >= 0x80) *high = true;
  }
  return nullptr;
}

bool LineReader::SkipLineFeedAfterCr() {
  if (begin_ == end_ && !Exhausted() && !Fill()) return false;
  if (begin_ < end_ && buffer_[begin_] == '\n') ++begin_;
  return true;
}

}  // namespace dovrek

#include "text/encoding_decision.h"

#include <uchardet/uchardet.h>

#include <memory>

#include "codepage/text_codec.h"

namespace dovrek {
namespace {

// Enough text for the detector to be sure; more only costs time.
constexpr size_t kSampleLimit = 256 * 1024;

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

bool StartsWithMark(std::string_view bytes) {
  return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
         bytes.starts_with("\xFE\xFF");
}

// Appends the lines of `bytes` that hold a byte at or above 0x80, while the sample has room.
void AppendNonAsciiLines(std::string_view bytes, std::string* sample) {
  size_t start = 0;
  while (start < bytes.size() && sample->size() < kSampleLimit) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!IsAscii(line)) sample->append(line).push_back('\n');
    start = end + 1;
  }
}

// What the detector makes of the sample: Windows-1252 for a Western single-byte guess, code
// page 932 for anything else (Japanese, or no opinion).
Encoding Detect(const std::string& sample) {
  std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(
      uchardet_new(), &uchardet_delete);
  if (!detector || uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) {
    return Encoding::kCp932;
  }
  uchardet_data_end(detector.get());
  std::string_view charset = uchardet_get_charset(detector.get());
  bool western = charset.starts_with("WINDOWS-125") || charset.starts_with("ISO-8859") ||
                 charset == "MAC-CENTRALEUROPE" || charset == "IBM852";
  return western ? Encoding::kCp1252 : Encoding::kCp932;
}

}  // namespace

bool IsValidCp932(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (!IsLeadByte(c)) continue;
    if (i + 1 >= bytes.size() || !IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      return false;
    }
    ++i;
  }
  return true;
}

bool IsValidCp1252(std::string_view bytes) {
  return bytes.find_first_of(std::string_view("\x81\x8D\x8F\x90\x9D", 5)) == std::string_view::npos;
}

void EncodingDecision::Add(std::string_view bytes) {
  if (StartsWithMark(bytes) || IsAscii(bytes)) return;
  any_non_ascii_ = true;
  all_utf8_ = all_utf8_ && IsValidUtf8(bytes);
  all_cp932_ = all_cp932_ && IsValidCp932(bytes);
  all_cp1252_ = all_cp1252_ && IsValidCp1252(bytes);
  if (sample_.size() < kSampleLimit) AppendNonAsciiLines(bytes, &sample_);
}

Encoding EncodingDecision::Decide() const {
  if (!any_non_ascii_) return Encoding::kCp932;
  if (all_utf8_) return Encoding::kUtf8;
  if (all_cp932_ != all_cp1252_) {
    return all_cp932_ ? Encoding::kCp932 : Encoding::kCp1252;
  }
  return Detect(sample_);
}

Encoding DecideEncodingOfFiles(const std::vector<std::string>& native_paths, Disk& disk) {
  EncodingDecision decision;
  std::string bytes;
  for (const std::string& path : native_paths) {
    bytes.clear();
    if (ReadWholeFile(disk, path, &bytes).ok()) decision.Add(bytes);
  }
  return decision.Decide();
}

}  // namespace dovrek

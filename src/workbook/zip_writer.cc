#include "workbook/zip_writer.h"

#include <algorithm>
#include <thread>

#include "workbook/workbook_messages.h"
#include "workbook/workbook_error.h"

namespace dovrek {
namespace {

constexpr size_t kBlock = 512 * 1024;
constexpr int kLevel = 1;
constexpr uint64_t kZip32Limit = 0xFFFFFFFFu;
constexpr uint16_t kVersionNeeded = 20;        // deflate
constexpr uint16_t kVersionMadeBy = 0x033F;    // Unix, version 6.3
constexpr uint16_t kFastDeflateFlag = 0x0004;  // the fastest level was used
constexpr uint16_t kUtf8NameFlag = 0x0800;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kDosTime = 0x3300;  // 06:24:00
constexpr uint16_t kDosDate = 0x4B66;  // 2017-11-06
constexpr uint32_t kRegularFileMode = 0100666u << 16;

// Little-endian fields of zip headers.
class Header {
 public:
  Header& U16(uint16_t v) {
    bytes_.push_back(static_cast<char>(v & 0xFF));
    bytes_.push_back(static_cast<char>(v >> 8));
    return *this;
  }
  Header& U32(uint64_t v) {
    return U16(static_cast<uint16_t>(v & 0xFFFF)).U16(static_cast<uint16_t>(v >> 16));
  }
  Header& Text(std::string_view text) {
    bytes_.append(text);
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The fields local and central headers share, from the version needed to the name's length.
Header& CommonFields(Header& h, const std::string& name, uint32_t crc, uint64_t compressed,
                     uint64_t size) {
  // A name beyond ASCII is flagged as UTF-8; readers would take it for code page 437.
  bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; });
  return h.U16(kVersionNeeded)
      .U16(ascii ? kFastDeflateFlag : kFastDeflateFlag | kUtf8NameFlag)
      .U16(kDeflated)
      .U16(kDosTime)
      .U16(kDosDate)
      .U32(crc)
      .U32(compressed)
      .U32(size)
      .U16(static_cast<uint16_t>(name.size()));
}

}  // namespace

ZipWriter::ZipWriter(BufferedWriter& out) : out_(out) {
  // Raw deflate at the fastest level: the sheets are large and repetitive, so it packs them
  // well already.
  if (deflateInit2(&stream_, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw WorkbookError(kZipNotMade);
  }
  pending_.reserve(kBlock);
}

ZipWriter::~ZipWriter() { deflateEnd(&stream_); }

void ZipWriter::BeginPart(const std::string& name) {
  part_ = {name, static_cast<uint32_t>(crc32(0, nullptr, 0)), 0, 0, offset_};
  compressed_.clear();
}

// A full block goes on only when more bytes come, so that the last block is known as such.
void ZipWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    if (pending_.size() == kBlock) PassBlock(/*last=*/false);
    size_t take = std::min(bytes.size(), kBlock - pending_.size());
    pending_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
  }
}

// Adds what is pending to the part's size and checksum.
void ZipWriter::Count() {
  part_.crc =
      static_cast<uint32_t>(crc32(part_.crc, reinterpret_cast<const Bytef*>(pending_.data()),
                                  static_cast<uInt>(pending_.size())));
  part_.size += pending_.size();
}

// Hands what is pending to the block deflater as the part's next block.
void ZipWriter::PassBlock(bool last) {
  Count();
  if (!blocks_) {
    const unsigned cores = std::thread::hardware_concurrency();
    blocks_ = std::make_unique<BlockDeflater>(kLevel, cores > 1 ? cores - 1 : 0);
  }
  std::string block;
  block.reserve(kBlock);
  block.swap(pending_);
  blocks_->Add(std::move(block), last);
  blocks_->TakeFinished(&compressed_);
}

// Deflates a part no longer than a block as one stream, in one call.
void ZipWriter::DeflateWhole() {
  Count();
  deflateReset(&stream_);
  compressed_.resize(deflateBound(&stream_, static_cast<uLong>(pending_.size())));
  stream_.next_in = reinterpret_cast<Bytef*>(pending_.data());
  stream_.avail_in = static_cast<uInt>(pending_.size());
  stream_.next_out = reinterpret_cast<Bytef*>(compressed_.data());
  stream_.avail_out = static_cast<uInt>(compressed_.size());
  // With the whole input and deflateBound's room, one call finishes the stream.
  if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) throw WorkbookError(kZipNotMade);
  compressed_.resize(compressed_.size() - stream_.avail_out);
  pending_.clear();
}

void ZipWriter::EndPart() {
  // Bytes are counted only as they are deflated: before the part ends, only passed blocks.
  if (part_.size > 0) {
    PassBlock(/*last=*/true);
    blocks_->Finish(&compressed_);
  } else {
    DeflateWhole();
  }
  part_.compressed = compressed_.size();
  if (part_.size > kZip32Limit || part_.compressed > kZip32Limit || offset_ > kZip32Limit) {
    throw WorkbookError("zip を作れません: パーツ " + part_.name + " が 4 GiB を超えます。");
  }
  Header local;
  CommonFields(local.U32(0x04034B50), part_.name, part_.crc, part_.compressed, part_.size)
      .U16(0)
      .Text(part_.name);
  Emit(local.bytes());
  Emit(compressed_);
  entries_.push_back(part_);
}

void ZipWriter::Finish() {
  uint64_t directory = offset_;
  for (const Entry& e : entries_) {
    Header central;
    CommonFields(central.U32(0x02014B50).U16(kVersionMadeBy), e.name, e.crc, e.compressed, e.size)
        .U16(0)  // extra field
        .U16(0)  // comment
        .U16(0)  // disk
        .U16(0)  // internal attributes
        .U32(kRegularFileMode)
        .U32(e.offset)
        .Text(e.name);
    Emit(central.bytes());
  }
  if (entries_.size() > 0xFFFF) throw WorkbookError(kZipTooManyParts);
  if (offset_ > kZip32Limit) throw WorkbookError("zip を作れません: 4 GiB を超えます。");
  Header end;
  end.U32(0x06054B50)
      .U16(0)
      .U16(0)
      .U16(static_cast<uint16_t>(entries_.size()))
      .U16(static_cast<uint16_t>(entries_.size()))
      .U32(offset_ - directory)
      .U32(directory)
      .U16(0);
  Emit(end.bytes());
}

void ZipWriter::Emit(std::string_view bytes) {
  out_.Append(bytes);
  offset_ += bytes.size();
}

}  // namespace dovrek

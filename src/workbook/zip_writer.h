#pragma once
// Writes a zip archive part by part to a BufferedWriter. A part's bytes are deflated a block at
// a time as they come, so a long part is never held whole: only its compressed bytes wait until
// the part ends, since the local header that precedes them states their size and checksum. The
// blocks of a part longer than one are deflated on several threads (BlockDeflater); a shorter
// part is one deflate stream. Every part gets the same fixed time stamp, so equal parts give
// equal archives.

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/buffered_writer.h"
#include "workbook/block_deflater.h"

namespace dovrek {

class ZipWriter {
 public:
  // Writes to `out`, which must outlive the writer; the caller flushes it after Finish.
  explicit ZipWriter(BufferedWriter& out);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // Starts a part; its bytes follow through Write.
  void BeginPart(const std::string& name);
  void Write(std::string_view bytes);
  // Ends the part begun last and writes it out.
  void EndPart();
  // Writes the archive's directory. Throws WorkbookError when the archive would exceed the
  // 4 GiB a zip without its 64-bit extension can describe.
  void Finish();

 private:
  struct Entry {
    std::string name;
    uint32_t crc;
    uint64_t compressed;
    uint64_t size;
    uint64_t offset;
  };
  void Count();
  void PassBlock(bool last);
  void DeflateWhole();
  void Emit(std::string_view bytes);

  BufferedWriter& out_;
  z_stream stream_{};
  std::string pending_;                    // part bytes waiting to be deflated, up to one block
  std::string compressed_;                 // the part's compressed bytes so far
  std::unique_ptr<BlockDeflater> blocks_;  // made for the first part longer than a block
  Entry part_{};
  uint64_t offset_ = 0;  // bytes written to `out`
  std::vector<Entry> entries_;
};

}  // namespace dovrek

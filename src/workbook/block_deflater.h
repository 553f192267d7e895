#pragma once
// Deflates one long part in blocks on several threads, the way parallel gzip does: each block
// is deflated on its own, primed with the 32 KiB of the part before it so that it packs as
// well, and all but the last end on a byte boundary (a sync flush). Their bytes, joined in
// order, are one raw deflate stream that any inflater reads. The caller's thread deflates
// too whenever it would otherwise wait.

#include <zlib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dovrek {

class BlockDeflater {
 public:
  // Deflates at `level` on `helpers` threads besides the caller's (none: the caller alone).
  BlockDeflater(int level, unsigned helpers);
  // Waits for the blocks being deflated, drops the rest and ends the threads.
  ~BlockDeflater();
  BlockDeflater(const BlockDeflater&) = delete;
  BlockDeflater& operator=(const BlockDeflater&) = delete;

  // Takes the part's next block; `last` ends the part. While too many blocks wait, the
  // caller deflates one of them first.
  void Add(std::string block, bool last);
  // Appends to *out the deflated bytes of the blocks finished so far, in order.
  void TakeFinished(std::string* out);
  // Waits until every block added is deflated and appends the rest to *out. Throws
  // WorkbookError when deflating failed; the deflater can take a new part afterwards.
  void Finish(std::string* out);

 private:
  struct Block {
    std::string input;
    std::string dictionary;  // up to 32 KiB of the part before the block
    bool last = false;
    bool claimed = false;
    bool done = false;
    std::string output;
  };

  void Help(z_stream& stream, std::unique_lock<std::mutex>& lock);
  Block* Unclaimed();
  void Deflate(z_stream& stream, Block& block);
  void Work();

  const int level_;
  std::mutex mutex_;
  std::condition_variable waiting_;   // a block waits to be claimed, or the threads must end
  std::condition_variable finished_;  // a block is done
  std::deque<Block> blocks_;          // added and not yet taken, in order
  std::string tail_;                  // the last 32 KiB added, the next block's dictionary
  bool stopping_ = false;
  std::exception_ptr failure_;
  z_stream own_{};  // the caller's
  std::vector<std::thread> threads_;
};

}  // namespace dovrek

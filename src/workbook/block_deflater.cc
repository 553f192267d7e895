#include "workbook/block_deflater.h"

#include <system_error>
#include <utility>

#include "workbook/workbook_messages.h"
#include "workbook/workbook_error.h"

namespace dovrek {
namespace {

constexpr size_t kWindow = 32 * 1024;  // the most deflate looks back

bool Init(z_stream& stream, int level) {
  return deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
}

}  // namespace

BlockDeflater::BlockDeflater(int level, unsigned helpers) : level_(level) {
  if (!Init(own_, level)) throw WorkbookError(kZipNotMade);
  try {
    for (unsigned i = 0; i < helpers; ++i) threads_.emplace_back(&BlockDeflater::Work, this);
  } catch (const std::system_error&) {
    // The threads made and the caller's deflate the blocks.
  }
}

BlockDeflater::~BlockDeflater() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  waiting_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  deflateEnd(&own_);
}

void BlockDeflater::Add(std::string block, bool last) {
  std::unique_lock lock(mutex_);
  Block& added = blocks_.emplace_back();
  added.input = std::move(block);
  added.dictionary = tail_;
  added.last = last;
  tail_ +=
      added.input.size() < kWindow ? added.input : added.input.substr(added.input.size() - kWindow);
  if (tail_.size() > kWindow) tail_.erase(0, tail_.size() - kWindow);
  if (last) tail_.clear();  // the next part starts afresh
  waiting_.notify_one();
  // Memory stays bounded: past a few blocks a thread, the caller deflates or waits.
  const size_t most = 2 * (threads_.size() + 1);
  while (blocks_.size() > most && !blocks_.front().done) {
    if (Unclaimed()) {
      Help(own_, lock);
    } else {
      finished_.wait(lock);
    }
  }
}

void BlockDeflater::TakeFinished(std::string* out) {
  std::lock_guard lock(mutex_);
  while (!failure_ && !blocks_.empty() && blocks_.front().done) {
    out->append(blocks_.front().output);
    blocks_.pop_front();
  }
}

void BlockDeflater::Finish(std::string* out) {
  std::unique_lock lock(mutex_);
  for (;;) {
    bool all_done = true;
    for (const Block& block : blocks_) all_done = all_done && block.done;
    if (all_done) break;
    if (Unclaimed()) {
      Help(own_, lock);
    } else {
      finished_.wait(lock);
    }
  }
  if (failure_) {
    blocks_.clear();
    std::rethrow_exception(std::exchange(failure_, nullptr));
  }
  for (const Block& block : blocks_) out->append(block.output);
  blocks_.clear();
}

// Deflates the first block no thread has claimed, if any, with the lock released meanwhile.
void BlockDeflater::Help(z_stream& stream, std::unique_lock<std::mutex>& lock) {
  Block* block = Unclaimed();
  if (!block) return;
  block->claimed = true;
  lock.unlock();
  std::exception_ptr failed;
  try {
    Deflate(stream, *block);
  } catch (...) {
    failed = std::current_exception();
  }
  lock.lock();
  block->done = true;
  if (failed && !failure_) failure_ = failed;
  finished_.notify_all();
}

BlockDeflater::Block* BlockDeflater::Unclaimed() {
  for (Block& block : blocks_) {
    if (!block.claimed) return &block;
  }
  return nullptr;
}

void BlockDeflater::Deflate(z_stream& stream, Block& block) {
  deflateReset(&stream);
  if (!block.dictionary.empty() &&
      deflateSetDictionary(&stream, reinterpret_cast<const Bytef*>(block.dictionary.data()),
                           static_cast<uInt>(block.dictionary.size())) != Z_OK) {
    throw WorkbookError(kZipNotMade);
  }
  const int flush = block.last ? Z_FINISH : Z_SYNC_FLUSH;
  std::string& output = block.output;
  // A sync flush may add a few bytes to the bound, which holds for Z_FINISH.
  output.resize(deflateBound(&stream, static_cast<uLong>(block.input.size())) + 64);
  stream.next_in = reinterpret_cast<Bytef*>(block.input.data());
  stream.avail_in = static_cast<uInt>(block.input.size());
  size_t used = 0;
  for (;;) {
    stream.next_out = reinterpret_cast<Bytef*>(output.data() + used);
    stream.avail_out = static_cast<uInt>(output.size() - used);
    int result = deflate(&stream, flush);
    used = output.size() - stream.avail_out;
    if (result == Z_STREAM_ERROR) throw WorkbookError(kZipNotMade);
    bool complete =
        block.last ? result == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out != 0;
    if (complete) break;
    output.resize(output.size() * 2);
  }
  output.resize(used);
  std::string().swap(block.input);
}

void BlockDeflater::Work() {
  z_stream stream{};
  if (!Init(stream, level_)) return;  // the caller deflates in its stead
  std::unique_lock lock(mutex_);
  for (;;) {
    waiting_.wait(lock, [&] { return stopping_ || Unclaimed() != nullptr; });
    if (stopping_) break;
    Help(stream, lock);
  }
  lock.unlock();
  deflateEnd(&stream);
}

}  // namespace dovrek

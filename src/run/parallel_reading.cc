#include "run/parallel_reading.h"

#include <algorithm>
#include <system_error>

#include "os/memory_tuning.h"

namespace dovrek {

unsigned ParallelReading::CoreCount() { return std::max(1u, std::thread::hardware_concurrency()); }

ParallelReading::ParallelReading(std::vector<SourcePath> paths, const Options& options,
                                 Encoding encoding, unsigned threads, PartReader read)
    : paths_(std::move(paths)),
      options_(options),
      encoding_(encoding),
      read_(std::move(read)),
      parts_(paths_.size()) {
  // The joining thread reads too (see Await): it is one of the threads asked for.
  TuneMemoryOfThisThread();
  const size_t count = std::min<size_t>(std::max(threads, 1u), paths_.size());
  try {
    for (size_t i = 1; i < count; ++i) threads_.emplace_back(&ParallelReading::Work, this);
  } catch (const std::system_error&) {
    // The threads made and the joining thread do the work.
  }
}

ParallelReading::~ParallelReading() { Stop(); }

bool ParallelReading::IsNext(const SourcePath& path) {
  std::lock_guard lock(mutex_);
  return !stopped_ && next_to_join_ < paths_.size() &&
         paths_[next_to_join_].windows() == path.windows();
}

Status ParallelReading::JoinNext(SpecificationModel* model) {
  const size_t index = next_to_join_++;
  ModulePart part = Await(index);
  Status joined;
  try {
    joined = JoinModulePart(std::move(part), paths_[index], options_, model);
  } catch (...) {
    Stop();
    throw;
  }
  // Later files are of no use once this one fails: stop before its message is shown.
  if (!joined.ok() || next_to_join_ == paths_.size()) Stop();
  return joined;
}

void ParallelReading::Work() {
  TuneMemoryOfThisThread();
  while (std::optional<size_t> index = Claim()) {
    ModulePart part = read_(paths_[*index], options_, encoding_);
    std::lock_guard lock(mutex_);
    parts_[*index] = std::move(part);
    ready_.notify_one();  // only the joining thread waits
  }
}

// The next file no thread has taken yet, in project order; nullopt when none is left to read.
std::optional<size_t> ParallelReading::Claim() {
  std::lock_guard lock(mutex_);
  if (stopped_ || next_to_read_ == paths_.size()) return std::nullopt;
  return next_to_read_++;
}

// While the part is not there, the joining thread reads files no thread has taken, rather than
// sleep: then one thread fewer is started, and none is woken for every file.
ModulePart ParallelReading::Await(size_t index) {
  std::unique_lock lock(mutex_);
  while (!parts_[index]) {
    if (next_to_read_ == paths_.size()) {
      ready_.wait(lock, [&] { return parts_[index].has_value(); });
      break;
    }
    const size_t claimed = next_to_read_++;
    lock.unlock();
    ModulePart part = read_(paths_[claimed], options_, encoding_);
    lock.lock();
    parts_[claimed] = std::move(part);
  }
  ModulePart part = std::move(*parts_[index]);
  parts_[index].reset();
  return part;
}

// Called only from the joining thread, so no other caller joins the threads meanwhile.
void ParallelReading::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

}  // namespace dovrek

#pragma once
// Reads the member files of a run on a small pool of threads, each file into a part of its own
// (ReadModulePart), while the run takes the parts in project order and joins them into the
// model (JoinModulePart): the model is the one reading the files one by one gives, and the
// first failing file in project order is the one reported.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "model/specification_model.h"
#include "os/source_path.h"
#include "base/status.h"
#include "source/module_part.h"

namespace dovrek {

class ParallelReading {
 public:
  // One thread a core, at least one.
  static unsigned CoreCount();

  // How one file is read into a part of its own; ReadModulePart unless a test reads otherwise.
  // It must throw nothing: an exception belongs in the part, for JoinNext to rethrow.
  using PartReader = std::function<ModulePart(const SourcePath& path, const Options& options,
                                              Encoding encoding)>;

  // Starts reading `paths` (looked up already, in project order) on `threads` threads, at least
  // one and at most one a file: the joining thread, which reads while it waits in JoinNext, and
  // as many more started here. Sources without a byte-order mark are read in `encoding`.
  ParallelReading(std::vector<SourcePath> paths, const Options& options, Encoding encoding,
                  unsigned threads = CoreCount(), PartReader read = ReadModulePart);
  // Stops the threads after the files they are reading and waits for them.
  ~ParallelReading();
  ParallelReading(const ParallelReading&) = delete;
  ParallelReading& operator=(const ParallelReading&) = delete;

  // Whether `path` is the next file to join (false once a file has failed).
  bool IsNext(const SourcePath& path);

  // Waits for the next file's part (call only after IsNext answered true) and joins it into the
  // model; answers how its read went. After a failure (a failed status, or the read's exception
  // rethrown) no further file is read and the threads have ended.
  Status JoinNext(SpecificationModel* model);

 private:
  void Work();
  std::optional<size_t> Claim();
  ModulePart Await(size_t index);
  void Stop();

  const std::vector<SourcePath> paths_;
  const Options options_;
  const Encoding encoding_;
  const PartReader read_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<std::optional<ModulePart>> parts_;  // read and not yet joined
  size_t next_to_read_ = 0;
  size_t next_to_join_ = 0;
  bool stopped_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace dovrek

#pragma once
// Puts a run's outputs in place together. While a HeldRenames exists, ReplacingFile::Commit on
// the same thread writes and closes the new file but leaves it under its temporary name; Release
// then renames every held file over its target, and a hold destroyed without Release removes
// them. A run that fails after one output was finished thus leaves every earlier file as it was.
// Files written in place (devices, FIFOs, files in folders that take no new file) cannot be held
// back and are changed at once.

#include <string>
#include <vector>

#include "platform/status.h"

namespace dovrek {

class HeldRenames {
 public:
  HeldRenames();   // becomes the thread's hold (an enclosing hold is restored afterwards)
  ~HeldRenames();  // removes the files not released
  HeldRenames(const HeldRenames&) = delete;
  HeldRenames& operator=(const HeldRenames&) = delete;

  // The calling thread's hold; null when there is none.
  static HeldRenames* Current();

  // Takes over a finished temporary file: `target` is the file it replaces, `path` the name the
  // user gave (for messages), `cleanup_slot` its entry for removal on a signal.
  void Hold(std::string temporary, std::string target, std::string path, int cleanup_slot);

  // The name the file that will replace `target` has now: its temporary name while held, else
  // `target` itself.
  std::string CurrentName(const std::string& target) const;

  // Renames every held file into place in the order they were finished. On a failure
  // ("path: reason") removes the files not yet renamed.
  Status Release();

 private:
  struct Held {
    std::string temporary, target, path;
    int cleanup_slot;
  };
  void RemoveAll();

  std::vector<Held> held_;
  HeldRenames* enclosing_;
};

}  // namespace dovrek

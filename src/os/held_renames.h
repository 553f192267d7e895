#pragma once
// Puts a run's outputs in place together. While a HeldRenames exists, ReplacingFile::Commit on
// the same thread writes and closes the new file but leaves it under its temporary name; Release
// then puts every held file in place, and a hold destroyed without Release removes them. A run
// that fails after one output was finished thus leaves every earlier file as it was.
// A file that must be rewritten in place (a writable file in a folder that takes no new file)
// waits in a private temporary file too and is copied into place by Release, after every other
// output has been found ready to rename and before the first rename: should that copy fail,
// the file itself may be left partly written, but no other output has been replaced. Devices
// and FIFOs cannot be held back and are written at once.

#include <string>
#include <vector>

#include "base/status.h"

namespace dovrek {

class HeldRenames {
 public:
  HeldRenames();   // becomes the thread's hold (an enclosing hold is restored afterwards)
  ~HeldRenames();  // removes the files not released
  HeldRenames(const HeldRenames&) = delete;
  HeldRenames& operator=(const HeldRenames&) = delete;

  // The calling thread's hold; null when there is none.
  static HeldRenames* Current();

  // Takes over a finished temporary file: `target` is the file it replaces (renamed over, or
  // rewritten in place when `in_place`), `path` the name the user gave (for messages),
  // `cleanup_slot` its entry for removal on a signal.
  void Hold(std::string temporary, std::string target, std::string path, int cleanup_slot,
            bool in_place = false);

  // The name the file that will replace `target` (any spelling of it) has now: its temporary
  // name while held, else `target` itself.
  std::string CurrentName(const std::string& target) const;

  // Checks that every rename can be made (its target no folder, its folder there), then copies
  // the files to be written in place, then renames the others in the order they were finished.
  // On a failure ("path: reason") removes the files not yet in place.
  Status Release();

 private:
  struct Held {
    std::string temporary, target, path;
    int cleanup_slot;
    bool in_place;
  };
  void RemoveAll();

  std::vector<Held> held_;
  HeldRenames* enclosing_;
};

}  // namespace dovrek

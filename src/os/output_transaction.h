#pragma once
// Puts a run's outputs in place together. The way of running makes one for a run and hands it to
// what writes the files: a ReplacingFile given the transaction writes and closes the new file but
// leaves it under its temporary name; Commit then puts every held file in place, and a
// transaction dropped without Commit removes them. A run that fails after one output was
// finished thus leaves every earlier file as it was.
// A file that must be rewritten in place (a writable file in a folder that takes no new file)
// waits in a private temporary file too and is copied into place by Commit, after every other
// output has been found ready to rename and before the first rename: should that copy fail,
// the file itself may be left partly written, but no other output has been replaced. Devices
// and FIFOs cannot be held back and are written at once. One transaction serves one run; it is
// not shared between threads.

#include <string>
#include <vector>

#include "base/status.h"

namespace dovrek {

class OutputTransaction {
 public:
  OutputTransaction() = default;
  ~OutputTransaction();  // removes the files not put in place
  OutputTransaction(const OutputTransaction&) = delete;
  OutputTransaction& operator=(const OutputTransaction&) = delete;

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
  Status Commit();

  // Removes every file held, as dropping the transaction does; nothing is put in place.
  void Abandon();

 private:
  struct Held {
    std::string temporary, target, path;
    int cleanup_slot;
    bool in_place;
  };

  std::vector<Held> held_;
};

}  // namespace dovrek

#pragma once
// Writes lines of text to one named file: the line writer behind the text report.
//
// Lines go through one buffered file that stays open from Clear (or the first WriteLine) until
// Close, so a report costs one open instead of one per line. The lines go to a
// temporary file in the same folder, which Close renames over the named file; an existing file
// therefore keeps its old content until the new one is complete, and a failed report leaves it
// untouched. Devices, FIFOs and other files that are not regular files are written in place, as
// is an existing file in a folder that takes no new file (see ReplacingFile for links, owners
// and interrupted runs).
//
// Failures are not silent: the operation that meets one answers a Status that describes it as
// "<path>: <reason>", and the file is abandoned (as Abandon does). The writer keeps no error of
// its own: a caller that meets a failure stops writing, or starts again with Clear.

#include <initializer_list>
#include <string>
#include <string_view>

#include "os/replacing_file.h"
#include "base/status.h"
#include "codepage/encoding.h"

namespace dovrek {

class LogWriter {
 public:
  // With a transaction, the file Close finishes is put in place when the transaction commits.
  explicit LogWriter(Encoding encoding = Encoding::kCp932,
                     OutputTransaction* transaction = nullptr);
  // Closes the file as Close does; a failure there can only be learnt by calling Close first.
  ~LogWriter();
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Closes any open file (as Close does), then stores the name (a native path) unchanged.
  void SetLogFileName(const std::string& name);
  const std::string& LogFileName() const { return name_; }

  // Empties the file: after Close it exists with only the lines written since. The file is never
  // deleted. With a name that is empty after removing trailing blanks it does nothing and
  // succeeds. Fails when the file cannot be created.
  Status Clear();

  // Appends the line, encoded, and CR LF. Without a preceding Clear (or after Close) it starts
  // the file as Clear does. Same guard as Clear. Fails when the file cannot be opened or written.
  Status WriteLine(std::string_view line) { return WriteLine({line}); }
  // The same for a line made of pieces, written one after the other.
  Status WriteLine(std::initializer_list<std::string_view> pieces);

  // Writes out what is buffered, closes the file and puts the new file in place.
  // Fails when a write, the close or the rename failed (the named file then keeps its earlier
  // content unless it was written in place); with nothing open it succeeds.
  Status Close();

  // Closes the file without putting a new file in place: the named file keeps its earlier
  // content, unless it was being written in place, which keeps what was written so far.
  void Abandon();

 private:
  bool Guarded() const;
  Status Open();
  Status Flush();
  Status AbandonOnFailure(Status failure);

  std::string name_;
  Encoding encoding_;
  ReplacingFile file_;
  std::string buffer_;          // lines not yet written out, UTF-8
  std::string encoded_;         // the buffer's lines encoded; kept to be reused
  std::string second_encoded_;  // the second half of a long buffer, encoded on another thread
};

}  // namespace dovrek

#pragma once
// Writes lines of text to one named file: the line writer behind the text report.
//
// Lines go through one buffered file that stays open from Clear (or the first WriteLine) until
// Close, so a report costs one open instead of one per line. After Clear the lines go to a
// temporary file in the same folder, which Close renames over the named file; an existing file
// therefore keeps its old content until the new one is complete, and a failed report leaves it
// untouched. Devices, FIFOs and other files that are not regular files are written in place, as
// is an existing file in a folder that takes no new file (see ReplacingFile for links, owners
// and interrupted runs).
//
// Failures are not silent: the operation that meets one answers false and error() describes it
// as "<path>: <reason>". After a failure every write answers false until the next Clear or
// SetLogFileName.

#include <string>

#include "platform/replacing_file.h"
#include "platform/text_codec.h"

namespace dovrek {

class LogWriter {
 public:
  explicit LogWriter(TextEncoding encoding = TextEncoding::Cp932);
  // Closes the file as Close does; a failure there can only be learnt by calling Close first.
  ~LogWriter();
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Closes any open file (as Close does), then stores the name (Windows form) unchanged.
  void SetLogFileName(const std::string& name);
  const std::string& LogFileName() const { return name_; }

  // The encoding of the lines not yet written out.
  void SetEncoding(TextEncoding encoding) { encoding_ = encoding; }
  TextEncoding Encoding() const { return encoding_; }

  // Empties the file: after Close it exists with only the lines written since. The file is never
  // deleted. With a name that is empty after removing trailing blanks it does nothing and
  // answers true. Answers false when the file cannot be created.
  bool Clear();

  // Appends the line, encoded, and CR LF. Without a preceding Clear the line is appended to the
  // existing file (created when missing). Same guard as Clear. Answers false when the file
  // cannot be opened or written.
  bool WriteLine(const std::string& line);

  // Writes out what is buffered, closes the file and, after Clear, puts the new file in place.
  // Answers false when a write, the close or the rename failed (the named file then keeps its
  // earlier content unless it was written in place); with nothing open it answers ok().
  bool Close();

  // Closes the file without putting a new file in place: the named file keeps its earlier
  // content, unless it was being written in place, which keeps what was written so far.
  void Abandon();

  // False once an operation has failed since the last Clear or SetLogFileName.
  bool ok() const { return error_.empty(); }
  // "<path>: <reason>" of the first failure, empty while ok().
  const std::string& error() const { return error_; }

 private:
  bool Guarded() const;
  bool Open(bool append);
  bool Flush();
  bool Fail(const std::string& error);

  std::string name_;
  TextEncoding encoding_;
  ReplacingFile file_;
  std::string buffer_;  // lines not yet written out, UTF-8
  std::string error_;
};

}  // namespace dovrek

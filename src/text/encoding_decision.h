#pragma once
// Decides once for a whole project which encoding its sources are in, when the user lets the
// program choose: a project is written in one code page, so the evidence of every file counts.

#include <string>
#include <string_view>
#include <vector>

#include "codepage/encoding.h"
#include "os/disk.h"

namespace dovrek {

// Gathers the bytes of a project's files and decides. Files that start with a byte-order mark
// decide for themselves and are not looked at.
class EncodingDecision {
 public:
  // Takes one file's bytes.
  void Add(std::string_view bytes);

  // UTF-8 when every file is valid UTF-8 and something is not ASCII; otherwise code page 932 or
  // Windows-1252, by validity where only one of them can hold the bytes, else by a character
  // set detector over the non-ASCII lines. Code page 932 when all is ASCII.
  Encoding Decide() const;

 private:
  bool any_non_ascii_ = false;
  bool all_utf8_ = true;
  bool all_cp932_ = true;
  bool all_cp1252_ = true;
  std::string sample_;  // lines that hold non-ASCII bytes, for the detector
};

// Reads each file (native paths on `disk`) that exists and decides; a file that cannot be read is
// passed over (the run reports it when it reads the file).
Encoding DecideEncodingOfFiles(const std::vector<std::string>& native_paths,
                                      Disk& disk = RealDisk());

// True when the bytes are well-formed code page 932 as Windows reads it (single bytes, and lead
// bytes with a trail byte in range).
bool IsValidCp932(std::string_view bytes);

// True when no byte is one that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
bool IsValidCp1252(std::string_view bytes);

}  // namespace dovrek

#pragma once
// The size of a member's code, for taking stock of a project: its lines, its comment lines and
// the libraries its Declare statements name.

#include <string>
#include <vector>

#include "codepage/encoding.h"
#include "os/source_path.h"
#include "base/status.h"

namespace dovrek {

struct SourceMeasure {
  long Lines = 0;         // the code's lines, without a window's description and the
                          // Attribute lines in front of the code
  long CommentLines = 0;  // of those, the lines that hold nothing but a comment
  // The libraries Declare statements name, each once (the first spelling met), in the order met.
  std::vector<std::string> Dlls;

  bool operator==(const SourceMeasure&) const = default;
};

// Adds the member file's counts and libraries to *measure, reading it in `encoding`.
Status MeasureSource(const SourcePath& member, Encoding encoding, SourceMeasure* measure);

}  // namespace dovrek

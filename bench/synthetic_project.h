#pragma once
// A deterministic generator of large Visual Basic 6 projects for timing: forms, standard
// modules and class modules in code page 932 with CR LF line ends, comments above and inside
// procedures, continued heads and statements, property procedures and Friend, Static and
// Declare lines that are not procedure heads. The same seed and size always give the same bytes.

#include <cstdint>
#include <string>

namespace dovrek::bench {

enum class MemberKind { Form, Module, Class };

// The language of comments and string literals: Japanese (most lines hold double-byte
// characters) or plain English (every byte ASCII), to tell the cost of decoding apart.
enum class Script { Japanese, Ascii };

struct SyntheticFile {
  std::string bytes;    // code page 932, CR LF
  long lines = 0;       // physical lines
  long procedures = 0;  // heads a reader of Sub and Function records
};

// One source file named `name` (its Attribute VB_Name) of at least `lines` lines, or fewer
// when `max_procedures` (> 0) procedure heads have been written first.
SyntheticFile SyntheticSource(MemberKind kind, const std::string& name, uint64_t seed, long lines,
                              Script script = Script::Japanese, long max_procedures = 0);

// When to stop writing members: at `lines` source lines or at exactly `procedures` procedure
// heads, whichever comes first; a zero means no limit of that kind.
struct ProjectSize {
  long lines = 0;
  long procedures = 0;
};

struct GeneratedProject {
  std::string vbp_path;  // native path of the project file
  long files = 0;
  long lines = 0;  // source lines written, the project file not counted
  long procedures = 0;
};

// Writes "<folder>/Synthetic.vbp" and its members (from half to one and a half times
// `average_lines` lines each) into `folder`, which is created when missing. At least one limit
// of `size` must be set.
// Throws std::runtime_error when a file cannot be written or no limit is set.
GeneratedProject GenerateProject(const std::string& folder, uint64_t seed, const ProjectSize& size,
                                 Script script = Script::Japanese, long average_lines = 1000);

}  // namespace dovrek::bench

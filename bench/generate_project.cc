// Writes a synthetic project for timing:
//   generate_project [--seed N] [--lines N] [--procedures N] [--files N] [--ascii] FOLDER
// Stops at N source lines (default 1,000,000 when neither limit is given) or at exactly N
// procedures, whichever comes first. Members have 1,000 lines on average, or as many as make
// about N files of the lines asked for. The same arguments always give the same files.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "synthetic_project.h"

namespace {

int Usage() {
  std::fprintf(
      stderr,
      "usage: generate_project [--seed N] [--lines N] [--procedures N] [--files N] [--ascii] "
      "FOLDER\n");
  return 2;
}

// Reads a whole non-negative decimal number; false for anything else.
bool ParseCount(const char* text, long* value) {
  char* end = nullptr;
  long parsed = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || parsed < 0) return false;
  *value = parsed;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long seed = 1;
  long files = 0;
  dovrek::bench::ProjectSize size;
  dovrek::bench::Script script = dovrek::bench::Script::Japanese;
  const char* folder = nullptr;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    long* target = std::strcmp(arg, "--seed") == 0         ? &seed
                   : std::strcmp(arg, "--lines") == 0      ? &size.lines
                   : std::strcmp(arg, "--procedures") == 0 ? &size.procedures
                   : std::strcmp(arg, "--files") == 0      ? &files
                                                           : nullptr;
    if (target) {
      if (++i == argc || !ParseCount(argv[i], target)) return Usage();
    } else if (std::strcmp(arg, "--ascii") == 0) {
      script = dovrek::bench::Script::Ascii;
    } else if (arg[0] == '-' || folder) {
      return Usage();
    } else {
      folder = arg;
    }
  }
  if (!folder) return Usage();
  if (size.lines == 0 && size.procedures == 0) size.lines = 1000000;
  const long average = files > 0 && size.lines > 0 ? std::max(1L, size.lines / files) : 1000;
  try {
    auto project =
        dovrek::bench::GenerateProject(folder, static_cast<uint64_t>(seed), size, script, average);
    std::printf("%s: %ld files, %ld lines, %ld procedures\n", project.vbp_path.c_str(),
                project.files, project.lines, project.procedures);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "generate_project: %s\n", e.what());
    return 1;
  }
  return 0;
}

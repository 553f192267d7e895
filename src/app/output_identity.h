#pragma once
// Whether two outputs of a batch run would write one file, however they are spelt, and whether
// an output would write over one of the run's inputs.

#include <string>
#include <vector>

namespace dovrek {

// True for "-" and the names of the program's standard output: /dev/stdout, /dev/fd/1 and
// /proc/self/fd/1, in any spelling of those paths.
bool NamesStandardOutput(const std::string& native_path);

// What an output path writes, as a key that is equal for two paths exactly when they write one
// file: standard output is one key under all its names (the file it goes to, when that is a
// regular file); a file that exists is known by its device and inode, which a link, a hard
// link or another spelling of its path shares; any other path by the folder it lands in, links
// followed, and its name, so that a dangling link and the file it names are one. The null
// device is the one file that two outputs may share: each path naming it has a key of its own.
std::string OutputIdentity(const std::string& native_path);

// The first of `outputs` (native paths, "-" for standard output, empty ones skipped) that would
// write one of the files `inputs` (native paths); empty when none does.
std::string OutputOverAnInput(const std::vector<std::string>& outputs,
                              const std::vector<std::string>& inputs);

}  // namespace dovrek

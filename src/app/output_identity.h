#pragma once
// Whether two outputs of a batch run would write one file, however they are spelt.

#include <string>

namespace dovrek {

// True for "-" and the names of the program's standard output: /dev/stdout, /dev/fd/1 and
// /proc/self/fd/1, in any spelling of those paths.
bool NamesStandardOutput(const std::string& native_path);

// What an output path writes, as a key that is equal for two paths exactly when they write one
// file: standard output is one key under all its names (the file it goes to, when that is a
// regular file); a file that exists is known by its device and inode, which a link, a hard
// link or another spelling of its path shares; any other path by its normalised absolute form.
std::string OutputIdentity(const std::string& native_path);

}  // namespace dovrek

#pragma once
// Removes the program's half-written temporary files when the run is interrupted. A temporary
// file is registered while it exists; SIGTERM, SIGINT or SIGHUP then unlinks every registered
// file and ends the process by the same signal, so that the caller sees the usual 128+N
// status. A signal the program was started with ignored stays ignored, and a handler someone
// else installed is left in place.

#include <string>

namespace dovrek {

// Creates and opens a temporary file as mkostemp(path_template, O_CLOEXEC) does (the template
// ends in "XXXXXX" and receives the name) and records it, installing the handlers on first
// use. The three signals are held back from creating to recording, so an interruption never
// leaves an unrecorded file. Answers the descriptor, or -1 with errno set. *slot receives the
// entry to forget it by, or -1 when the file could not be recorded (every slot taken, or a
// path of PATH_MAX bytes or more): that file is then not removed on a signal.
int CreateTemporaryFile(std::string* path_template, int* slot);

// Forgets a slot once its file has been renamed into place or removed. No effect for -1.
void ForgetTemporaryFile(int slot);

}  // namespace dovrek

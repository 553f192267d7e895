#pragma once
// Removes the program's half-written temporary files and private folders when the run is ended
// by a signal. A temporary file or folder is registered while it exists; every signal that
// would end the program and can be caught (SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGALRM,
// SIGABRT, ...) then unlinks every registered file, removes every registered folder with the
// files directly in it, and ends the process by the same signal, so that the caller sees the
// usual 128+N status. A signal the program was started with ignored stays ignored, and a
// handler someone else installed is left in place.
//
// SIGPIPE and SIGXFSZ are ignored from the start (IgnoreWriteSignals): a write to a pipe whose
// reader has gone then fails with EPIPE, and one past the file-size limit with EFBIG, each a
// failed run with a message that cleans up after itself instead of a silent death.

#include <string>

namespace dovrek {

// Ignores SIGPIPE and SIGXFSZ and installs the clean-up handlers. Called once at start-up,
// before anything is written. Children started through child_process.h get the usual actions
// back.
void IgnoreWriteSignals();

// Creates and opens a temporary file as mkostemp(path_template, O_CLOEXEC) does (the template
// ends in "XXXXXX" and receives the name) and records it, installing the handlers on first
// use. The catchable ending signals are held back from creating to recording, so an
// interruption never leaves an unrecorded file. Answers the descriptor, or -1 with errno set.
// *slot receives the entry to forget it by, or -1 when the file could not be recorded (every
// slot taken, or a path of PATH_MAX bytes or more): that file is then not removed on a signal.
int CreateTemporaryFile(std::string* path_template, int* slot);

// Creates a private folder as mkdtemp(path_template) does and records it in the same way: on a
// signal it is removed together with the files directly in it. Answers false with errno set
// when the folder could not be made.
bool CreateTemporaryFolder(std::string* path_template, int* slot);

// In a copy of the process made by fork: the recorded files are the parent's, so the copy
// forgets them all, and its end, however it comes, removes nothing.
void ForgetParentTemporaryFiles();

// Forgets a slot once its file has been renamed into place or removed, or its folder removed.
// No effect for -1.
void ForgetTemporaryFile(int slot);

}  // namespace dovrek

#pragma once
// How the process asks the C library for memory. A run builds its model once and frees little
// before it ends, while fresh pages and the system calls that map them are dear on the machines
// it runs on; so memory is taken from the system in large steps and kept until the end.

namespace dovrek {

// Call once at start, before other threads exist.
void TuneMemoryForOneRun();

}  // namespace dovrek

#pragma once
// How the process asks the C library for memory. A run builds its model once and frees little
// before it ends, while fresh pages and the faults that map them are dear on the machines it
// runs on; so memory is taken from the system in large steps, kept until the end, and backed
// by huge pages where the kernel allows it (one fault maps 2 MiB instead of 4 KiB).

namespace dovrek {

// Call once at start, before other threads exist: tunes the heap of the main thread.
void TuneMemoryForOneRun();

// Call at the start of a thread that builds much of the model (a reading thread): asks for huge
// pages on the heap the C library gives the calling thread, when that is a heap of its own.
void TuneMemoryOfThisThread();

}  // namespace dovrek

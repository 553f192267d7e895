#pragma once
// Where the XML trees of workbooks keep their nodes and texts. A large function list makes a
// tree of tens of megabytes, built once and dropped whole; taken from the heap, every 4 KiB
// page's first touch costs a fault, which on virtual machines costs more than building the tree
// itself. So the trees' memory comes from large chunks that the kernel may back with huge
// pages.

#include <cstddef>

namespace dovrek {

// Makes the XML library take its memory from such chunks from now on (for every document: it
// has one allocator). Memory it took from the heap before is still returned to the heap.
// Idempotent and safe to call from any thread.
void UseChunkedXmlMemory();

// The allocator itself: memory aligned for any type, or null when none is left (as malloc, so
// the XML library reports it as before); and its return, which also takes memory from malloc
// and ignores null.
void* AllocateXmlMemory(size_t size);
void FreeXmlMemory(void* memory);

}  // namespace dovrek

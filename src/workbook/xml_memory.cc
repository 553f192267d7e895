#include "workbook/xml_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>

#include <pugixml.hpp>

namespace dovrek {
namespace {

constexpr uintptr_t kHugePage = 2u << 20;
constexpr size_t kChunkSize = 4 * kHugePage;
constexpr size_t kAlignment = 16;

constexpr uintptr_t RoundUp(uintptr_t n, uintptr_t to) { return (n + to - 1) / to * to; }

// A chunk hands out memory front to back and is unmapped when nothing in it is in use; it is
// never reused piecemeal, which suits trees that are built and then dropped whole.
struct Chunk {
  size_t size;  // bytes mapped
  size_t used;  // bytes handed out
  size_t live;  // allocations not yet freed
};

struct Chunks {
  std::mutex lock;
  std::map<uintptr_t, Chunk> by_start;
  uintptr_t current = 0;  // the chunk small allocations come from, 0 when none
};

Chunks& State() {
  static Chunks* chunks = new Chunks;  // never destroyed: documents may outlive static objects
  return *chunks;
}

// Maps a chunk on a huge-page boundary, so that all of it can be backed by huge pages; 0 when
// no memory is left.
uintptr_t MapChunk(Chunks& chunks, size_t size) {
  size = RoundUp(size, kHugePage);
  void* mapped =
      ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return 0;
  auto start = reinterpret_cast<uintptr_t>(mapped);
  uintptr_t aligned = RoundUp(start, kHugePage);
  if (aligned > start) ::munmap(mapped, aligned - start);
  ::munmap(reinterpret_cast<void*>(aligned + size), start + kHugePage - aligned);
  ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  chunks.by_start[aligned] = Chunk{size, 0, 0};
  return aligned;
}

void UnmapChunk(Chunks& chunks, uintptr_t start) {
  ::munmap(reinterpret_cast<void*>(start), chunks.by_start[start].size);
  chunks.by_start.erase(start);
}

void* Take(Chunks& chunks, uintptr_t start, size_t bytes) {
  Chunk& chunk = chunks.by_start[start];
  void* memory = reinterpret_cast<void*>(start + chunk.used);
  chunk.used += bytes;
  ++chunk.live;
  return memory;
}

}  // namespace

void* AllocateXmlMemory(size_t size) {
  size_t bytes = RoundUp(size == 0 ? 1 : size, kAlignment);
  Chunks& chunks = State();
  std::lock_guard<std::mutex> hold(chunks.lock);
  if (bytes > kChunkSize / 4) {
    uintptr_t own = MapChunk(chunks, bytes);
    return own ? Take(chunks, own, bytes) : nullptr;
  }
  Chunk* current = chunks.current ? &chunks.by_start[chunks.current] : nullptr;
  if (!current || current->used + bytes > current->size) {
    if (current && current->live == 0) UnmapChunk(chunks, chunks.current);
    chunks.current = MapChunk(chunks, kChunkSize);
    if (!chunks.current) return nullptr;
  }
  return Take(chunks, chunks.current, bytes);
}

void FreeXmlMemory(void* memory) {
  if (!memory) return;
  auto address = reinterpret_cast<uintptr_t>(memory);
  Chunks& chunks = State();
  std::lock_guard<std::mutex> hold(chunks.lock);
  auto after = chunks.by_start.upper_bound(address);
  auto found = after == chunks.by_start.begin() ? chunks.by_start.end() : std::prev(after);
  if (found == chunks.by_start.end() || address >= found->first + found->second.size) {
    std::free(memory);  // taken from the heap before the chunks were in use
    return;
  }
  uintptr_t start = found->first;
  Chunk& chunk = found->second;
  if (--chunk.live > 0) return;
  if (start == chunks.current) {
    chunk.used = 0;  // empty again: start over at its front
  } else {
    UnmapChunk(chunks, start);
  }
}

void UseChunkedXmlMemory() {
  static std::once_flag once;
  std::call_once(once,
                 [] { pugi::set_memory_management_functions(AllocateXmlMemory, FreeXmlMemory); });
}

}  // namespace dovrek

#include "os/memory_tuning.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace dovrek {
namespace {

constexpr uintptr_t kHugePage = 2u << 20;
// glibc makes the heap of a thread's own arena 64 MiB long and aligned to that size (it finds
// a heap from any block in it by masking the address), and maps more of it as the heap grows.
constexpr uintptr_t kThreadHeapSize = 64u << 20;
constexpr int kTopPad = 64 << 20;

// Asks for huge pages on the whole huge pages within [from, to). Only a hint: where the kernel
// cannot give them, the memory stays in small pages and works as before.
void AdviseHugePages(uintptr_t from, uintptr_t to) {
  from = (from + kHugePage - 1) & ~(kHugePage - 1);
  to &= ~(kHugePage - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

uintptr_t ProgramBreak() { return reinterpret_cast<uintptr_t>(::sbrk(0)); }

}  // namespace

void TuneMemoryForOneRun() {
  // Grow the heap 64 MiB at a time instead of a page or so, and give freed memory back only
  // when far more than a run needs lies unused. Untouched pages cost nothing, so the peak
  // memory a run uses stays what its model needs.
  mallopt(M_TOP_PAD, kTopPad);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  // Grow the heap now, so that its first step can be advised: a later step extends the heap's
  // mapping without the advice.
  const uintptr_t before = ProgramBreak();
  void* blocks[64];
  int taken = 0;
  while (taken < 64 && ProgramBreak() == before) blocks[taken++] = std::malloc(64 << 10);
  AdviseHugePages(before, ProgramBreak());
  while (taken > 0) std::free(blocks[--taken]);
}

void TuneMemoryOfThisThread() {
  void* probe = std::malloc(1);
  const auto at = reinterpret_cast<uintptr_t>(probe);
  std::free(probe);
  // The main arena lies below the program break, where TuneMemoryForOneRun advised it; a
  // thread's own heap is mapped elsewhere, above it.
  if (probe == nullptr || at < ProgramBreak()) return;
  const uintptr_t heap = at & ~(kThreadHeapSize - 1);
  AdviseHugePages(heap, heap + kThreadHeapSize);
}

}  // namespace dovrek

#include "platform/memory_tuning.h"

#include <malloc.h>

namespace dovrek {

void TuneMemoryForOneRun() {
  // Grow the heap 64 MiB at a time instead of a page or so, and give freed memory back only
  // when far more than a run needs lies unused. Untouched pages cost nothing, so the peak
  // memory a run uses stays what its model needs.
  mallopt(M_TOP_PAD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace dovrek

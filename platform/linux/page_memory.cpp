#include "platform/linux/page_memory.h"

#include <malloc.h>

namespace quorvel {

void KeepPageMemoryForReuse() {
  // Buffers up to 32 MiB (the largest threshold glibc accepts) come from the
  // heap rather than from a mapping of their own that is unmapped when freed,
  // and the heap's top is trimmed only beyond 128 MiB of free memory.
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
}

}  // namespace quorvel

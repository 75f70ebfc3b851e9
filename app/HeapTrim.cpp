#include "app/HeapTrim.h"

// Any C library header defines __GLIBC__ under glibc; none is included before this one.
#include <cstddef>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// The GUI thread's arena, and one for the operation and its fetches.
constexpr int kMallocArenas = 2;
// Fixed, so glibc does not raise it after the first large buffer is freed (it would then keep
// every later one on the heap, and the free space above the lines a listing keeps stays resident).
constexpr int kMmapThreshold = 128 * 1024;

}  // namespace

void configureMalloc() {
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, kMallocArenas);
    mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
#endif
}

void returnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

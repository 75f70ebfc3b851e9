#include "app/HeapTrim.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// The GUI thread's arena, and one for the operation and its fetches.
constexpr int kMallocArenas = 2;

}  // namespace

void limitMallocArenas() {
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, kMallocArenas);
#endif
}

void returnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

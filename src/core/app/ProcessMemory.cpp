#include "ProcessMemory.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace kumby {

void KeepFreedMemory() {
#if defined(__GLIBC__)
    // Blocks below 32 MB come from the heap, and up to 128 MB freed at its top stay
    // there; the full set's 32 MB lists are still mapped and unmapped on their own.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

} // namespace kumby

#include "apps/ProcessMemory.h"

#include <cstdlib> // names the C library (__GLIBC__)
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace plotara::apps {

// A one-chart run reads a file, builds the chart document, parses it and writes the picture: a
// few large buffers, each given up before the next one is made. glibc maps every block of 128 KiB
// or more on its own and unmaps it when it is freed, and gives the free top of the heap back to
// the kernel, so each of those buffers has its pages faulted in anew (about 2 us a page on a
// virtual machine: 600 of the 2,700 faults of a 30,000-point scatter). Kept in the heap, the pages
// of a freed buffer serve the next one, and the process holds its peak until it ends, which is
// soon. A batch keeps glibc's own settings: with its worker threads, these made 500 charts about
// 5% slower.
void keepFreedMemoryForOneChart() noexcept {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest glibc takes; larger blocks are still mapped
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

} // namespace plotara::apps

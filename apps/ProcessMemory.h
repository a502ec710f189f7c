// How the process's allocator treats memory it has freed, set for the kind of run at hand.
#pragma once

namespace plotara::apps {

// For a process that draws one chart and ends (plotara render): memory freed stays in the heap
// for the next allocations instead of going back to the kernel. Cannot fail; does nothing
// where the C library has no such settings.
void keepFreedMemoryForOneChart() noexcept;

} // namespace plotara::apps

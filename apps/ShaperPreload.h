// Buys: the 4 x 1,000 line PNG of `plotara render` 4% sooner (wall) at 3 to 4% more CPU; measured:
// 150 interleaved runs with and without it under SCHED_FIFO, medians, 2026-12-07.
// The text shaper's shared library (HarfBuzz, with GLib, graphite2 and a shared FreeType under it)
// loaded on a thread of the command line's own while the main thread reads the input.
#pragma once

#include <thread>

namespace plotara::apps {

// The shared library that the plotara program opens at its first shaped text (ShaperLibrary.cpp).
inline constexpr const char* shaperLibrary = "libharfbuzz.so.0";

// Starts opening the shaper's library on a thread of its own, the first time in a process; the
// destructor waits for it. The program's first shaped text then finds the library open (or waits
// for the rest of the load). Where no thread can be had, the library opens at first use.
class ShaperPreload {
public:
    ShaperPreload() noexcept;
    ~ShaperPreload();
    ShaperPreload(const ShaperPreload&) = delete;
    ShaperPreload& operator=(const ShaperPreload&) = delete;

private:
    std::thread thread_;
};

} // namespace plotara::apps

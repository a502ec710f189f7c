// Buys: with ShaperLibrary.cpp's open at the first text, the 4 x 1,000 line PNG of `plotara render`
// 5 to 6% sooner (wall; 4% of it this thread's, at 3 to 4% more CPU), which holds its 3x against
// gnuplot (2.92x before, 3.13x to 3.27x after in three races); measured: 150 interleaved runs of
// each program under SCHED_FIFO, medians, and bench/peers/run.sh, 2026-12-07.
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

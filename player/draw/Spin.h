// A bounded busy wait for the line-stroking threads, whose hand-offs come tens of microseconds
// apart: sleeping and waking through the kernel would cost more than the wait.
#pragma once

#include <chrono>
#include <thread>

namespace plotara::player {

// Spins while waiting() holds, for up to budgetUs microseconds; now and then it yields the core,
// in case the thread it waits for shares it. Cannot fail.
template <class F>
void spinWhile(F&& waiting, long budgetUs) noexcept {
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(budgetUs);
    for (int round = 1; waiting(); ++round) {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
        if (round % 64 != 0) continue;
        if (std::chrono::steady_clock::now() >= end) return;
        std::this_thread::yield();
    }
}

} // namespace plotara::player

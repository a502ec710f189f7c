#include "player/draw/HelperThread.h"

#include "player/draw/Spin.h"

#include <pthread.h>
#include <sched.h>

#include <cstdlib>
#include <system_error>

namespace plotara::player {

namespace {

// The cores the process may run on, when there are two or more. Cannot fail.
bool processCores(cpu_set_t& cores) noexcept {
    CPU_ZERO(&cores);
    return sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) >= 2;
}

} // namespace

void HelperThread::keepOffCaller() noexcept {
    const int core = sched_getcpu();
    if (core == awayFrom_ || !thread_.joinable()) return;
    awayFrom_ = core;
    cpu_set_t cores;
    if (!processCores(cores)) return;
    if (core >= 0 && core < CPU_SETSIZE && CPU_ISSET(core, &cores)) CPU_CLR(core, &cores);
    pthread_setaffinity_np(thread_.native_handle(), sizeof cores, &cores);
}

HelperThread::~HelperThread() {
    if (!thread_.joinable()) return;
    finish();
    post(stopping);
    thread_.join();
}

bool HelperThread::warmUp() noexcept {
    if (thread_.joinable()) return true;
    // On one core the thread would only take turns with its caller.
    cpu_set_t cores;
    if (!processCores(cores)) return false;
    try {
        thread_ = std::thread([this] { loop(); });
    } catch (const std::system_error&) {
        return false;
    }
    keepOffCaller();
    return true;
}

void HelperThread::post(int to) noexcept {
    state_.store(to, std::memory_order_release);
    state_.notify_one();
}

bool HelperThread::wake(long spinUs) noexcept {
    if (!warmUp()) return false;
    keepOffCaller();
    spinUs_.store(spinUs, std::memory_order_relaxed);
    int expected = asleep;
    if (state_.compare_exchange_strong(expected, spinning, std::memory_order_acq_rel))
        state_.notify_one();
    return true;
}

bool HelperThread::hand(void* task, void (*run)(void*), long spinAfterUs) noexcept {
    if (!warmUp()) return false;
    finish(); // a task left unfinished by its caller
    keepOffCaller();
    task_ = task;
    run_ = run;
    spinAfterUs_ = spinAfterUs;
    // A withdrawn task leaves the thread as it found it, asleep or spinning.
    const int before = state_.exchange(pending, std::memory_order_acq_rel);
    beforeTask_ = before == spinning ? spinning : asleep;
    state_.notify_one();
    return true;
}

bool HelperThread::finish() noexcept {
    int s = pending;
    if (state_.compare_exchange_strong(s, beforeTask_, std::memory_order_acq_rel)) {
        task_ = nullptr;
        return false; // the thread had not taken the task: it never runs
    }
    if (s != running) return true;
    spinWhile([&] { return state_.load(std::memory_order_acquire) == running; }, 2000);
    for (s = state_.load(std::memory_order_acquire); s == running;
         s = state_.load(std::memory_order_acquire))
        state_.wait(s, std::memory_order_acquire);
    return true;
}

void HelperThread::loop() noexcept {
    // The thread's first allocation sets up its malloc arena: done here, before any task.
    std::free(std::malloc(64));
    for (;;) {
        int s = state_.load(std::memory_order_acquire);
        if (s == stopping) break;
        if (s == asleep) {
            awake_.store(false, std::memory_order_relaxed);
            state_.wait(asleep, std::memory_order_acquire);
            continue;
        }
        awake_.store(true, std::memory_order_relaxed);
        if (s == spinning) {
            spinWhile([&] { return state_.load(std::memory_order_acquire) == spinning; },
                      spinUs_.load(std::memory_order_relaxed));
            int still = spinning;
            state_.compare_exchange_strong(still, asleep, std::memory_order_acq_rel);
            continue;
        }
        // pending: the caller may withdraw the task until the thread takes it.
        if (!state_.compare_exchange_strong(s, running, std::memory_order_acq_rel)) continue;
        run_(task_);
        spinUs_.store(spinAfterUs_, std::memory_order_relaxed);
        post(spinAfterUs_ > 0 ? spinning : asleep);
    }
    awake_.store(false, std::memory_order_relaxed);
}

} // namespace plotara::player

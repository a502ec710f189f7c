// A second thread kept ready for a raster output's work (the long lines' strokes, half of a large
// PNG's compression). Starting a thread, or waking a sleeping one, can take a millisecond before
// it runs on a virtual machine's idle core, so the output starts it well ahead and wakes it a
// little ahead of the work; it then spins for work for a while. It keeps off the core of the
// thread that started it, whose work it is there to share.
#pragma once

#include <atomic>
#include <thread>

namespace plotara::player {

class HelperThread {
public:
    HelperThread() noexcept = default;
    // Stops the thread, if one was started, after its task. Cannot fail.
    ~HelperThread();
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    // Starts the thread, asleep, if it is not running yet; false when no thread can be had or the
    // process may run on one core only. Cannot fail.
    bool warmUp() noexcept;
    // Starts the thread if need be and has it spin for work for up to spinUs microseconds, then
    // sleep again; false when no thread can be had. Cannot fail.
    bool wake(long spinUs = 20000) noexcept;
    // Whether the thread has been started (warmUp): a task handed to it waits for no new thread.
    // Cannot fail.
    bool started() const noexcept { return thread_.joinable(); }
    // Whether the thread is spinning for work (or working): a task handed to it now starts at
    // once. Cannot fail.
    bool awake() const noexcept { return awake_.load(std::memory_order_relaxed); }
    // Hands task() to the thread (started first if need be), to run while the caller goes on;
    // false, and task not run, when no thread can be had. After the task the thread spins for the
    // next one for spinAfterUs microseconds, then sleeps. task must not throw, and must outlive
    // finish().
    template <class F>
    bool start(F& task, long spinAfterUs = 2000) noexcept {
        return hand(
            &task, [](void* t) { (*static_cast<F*>(t))(); }, spinAfterUs);
    }
    // Waits for the task handed by start to end, or withdraws it if the thread has not taken it
    // yet: true when it ran, false when it never will (and had not). Cannot fail.
    bool finish() noexcept;

private:
    enum State : int { asleep, spinning, pending, running, stopping };

    bool hand(void* task, void (*run)(void*), long spinAfterUs) noexcept;
    void loop() noexcept;
    // Keeps the thread off the core the caller runs on (when another one is allowed): the two
    // share the work only on two cores. A system call only when the caller has moved.
    void keepOffCaller() noexcept;
    // Sets state_ to `to` and wakes the thread if it sleeps.
    void post(int to) noexcept;

    std::atomic<int> state_{asleep};
    std::atomic<long> spinUs_{0}; // how long the next spin may last
    long spinAfterUs_ = 0;        // the spin after the task in hand
    int beforeTask_ = asleep;     // the state a withdrawn task goes back to
    std::atomic<bool> awake_{false};
    int awayFrom_ = -1; // the core the thread was last kept off
    void* task_ = nullptr;
    void (*run_)(void*) = nullptr;
    std::thread thread_;
};

} // namespace plotara::player

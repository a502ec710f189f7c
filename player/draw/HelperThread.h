// A second thread for a raster output's work (the long lines' strokes, half of a large PNG's
// compression), for a host that allows a picture two paint threads (ChartPlayer::setPaintThreads;
// the default is one, and then no such thread exists). It sleeps on a condition variable until a
// task is handed to it, and leaves every thread's core affinity as the host set it.
#pragma once

#include <condition_variable>
#include <mutex>
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
    // process may run on one core only.
    bool warmUp() noexcept;
    // Whether the thread has been started (warmUp): a task handed to it waits for no new thread.
    bool started() const noexcept { return thread_.joinable(); }
    // Hands task() to the thread (started first if need be), to run while the caller goes on;
    // false, and task not run, when no thread can be had. task must not throw, and must outlive
    // finish().
    template <class F>
    bool start(F& task) noexcept {
        return hand(&task, [](void* t) { (*static_cast<F*>(t))(); });
    }
    // Waits for the task handed by start to end, or withdraws it if the thread has not taken it
    // yet: true when it ran, false when it never will (and had not).
    bool finish() noexcept;

private:
    enum class State { idle, pending, running, stopping };

    bool hand(void* task, void (*run)(void*)) noexcept;
    void loop() noexcept;

    std::mutex mutex_;
    std::condition_variable changed_; // state_ changed
    State state_ = State::idle;
    void* task_ = nullptr;
    void (*run_)(void*) = nullptr;
    std::thread thread_;
};

} // namespace plotara::player

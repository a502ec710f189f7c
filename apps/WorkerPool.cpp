#include "apps/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace plotara::apps {

int workerCount(int requested) {
    if (requested > 0) return requested;
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

std::vector<std::string>
runTasks(std::size_t count, int workers, const std::function<void(std::size_t)>& task,
         const std::function<void(std::size_t, const std::string&)>& finished) {
    std::vector<std::string> errors(count);
    std::atomic<std::size_t> next{0};
    std::mutex reporting;
    auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            std::string error;
            try {
                task(i);
            } catch (const std::exception& failure) {
                error = failure.what();
                if (error.empty()) error = "failed without a message";
            } catch (...) {
                error = "failed with an unknown exception";
            }
            const std::lock_guard<std::mutex> lock(reporting);
            errors[i] = error;
            if (finished) finished(i, error);
        }
    };
    const std::size_t threads =
        std::min<std::size_t>(count, static_cast<std::size_t>(std::max(workers, 1)));
    if (threads <= 1) {
        work();
        return errors;
    }
    std::vector<std::jthread> pool;
    pool.reserve(threads);
    for (std::size_t t = 0; t < threads; ++t) {
        try {
            pool.emplace_back(work);
        } catch (const std::system_error&) {
            // Fewer threads than asked still finish every task; none at all is an error.
            if (pool.empty()) throw;
            break;
        }
    }
    pool.clear(); // joins
    return errors;
}

} // namespace plotara::apps

// The raster output's second thread: a task handed to it runs once on another thread, or is
// withdrawn and never runs; between tasks it sleeps; a process held to one core gets no thread.
#include "player/draw/HelperThread.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

namespace plotara {
namespace {

using player::HelperThread;

bool twoCores() {
    cpu_set_t cores;
    return sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) >= 2;
}

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

TEST(HelperThread, EveryTaskRunsOnceOnTheOtherThreadOrIsWithdrawn) {
    if (!twoCores()) GTEST_SKIP() << "one core";
    HelperThread helper;
    std::vector<std::atomic<int>> runs(200);
    std::vector<bool> reportedRun(runs.size());
    std::atomic<int> onCaller{0};
    const std::thread::id caller = std::this_thread::get_id();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        auto task = [&, i] {
            runs[i].fetch_add(1);
            if (std::this_thread::get_id() == caller) onCaller.fetch_add(1);
        };
        ASSERT_TRUE(helper.start(task));
        // Some tasks are left the time to be taken, the others are finished at once.
        if (i % 3 == 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        reportedRun[i] = helper.finish();
        // A withdrawn task is the caller's to run.
        if (!reportedRun[i]) task();
    }
    int withdrawn = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].load(), 1) << "task " << i;
        withdrawn += !reportedRun[i];
    }
    EXPECT_EQ(onCaller.load(), withdrawn) << "only withdrawn tasks run on the caller";
    EXPECT_LT(withdrawn, static_cast<int>(runs.size())) << "the thread took no task";
}

TEST(HelperThread, FinishWaitsForTheTasksWorkThenTheThreadSleeps) {
    if (!twoCores()) GTEST_SKIP() << "one core";
    HelperThread helper;
    ASSERT_TRUE(helper.warmUp());
    std::vector<int> squares(100000);
    auto fill = [&] {
        for (std::size_t i = 0; i < squares.size(); ++i)
            squares[i] = static_cast<int>(i % 1000) * static_cast<int>(i % 1000);
    };
    ASSERT_TRUE(helper.start(fill));
    if (!helper.finish()) fill();
    for (std::size_t i = 0; i < squares.size(); i += 997)
        ASSERT_EQ(squares[i], static_cast<int>(i % 1000) * static_cast<int>(i % 1000));
    // Between tasks the thread takes no processor time: a thread that spun for work would burn
    // most of the 200 ms.
    const double before = processCpuMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_LT(processCpuMs() - before, 20.0);
}

TEST(HelperThread, StopsAtOnceAndNotOnOneCore) {
    if (twoCores()) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i) {
            HelperThread helper;
            helper.warmUp();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    HelperThread helper;
    EXPECT_FALSE(helper.warmUp());
    int ran = 0;
    auto task = [&] { ++ran; };
    EXPECT_FALSE(helper.start(task));
    EXPECT_EQ(ran, 0);
    ASSERT_EQ(sched_setaffinity(0, sizeof before, &before), 0);
}

} // namespace
} // namespace plotara

// The raster output's second thread: a task handed to it runs once on another thread, or is
// withdrawn and never runs; it spins for work only for the time it was given; a process held
// to one core gets no thread at all.
#include "player/draw/HelperThread.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace plotara {
namespace {

using player::HelperThread;

// Polls until ready() holds or a second has gone by.
template <class F>
bool within1s(F ready) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

bool twoCores() {
    cpu_set_t cores;
    return sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) >= 2;
}

TEST(HelperThread, EveryTaskRunsOnceOnTheOtherThreadOrIsWithdrawn) {
    if (!twoCores()) GTEST_SKIP() << "one core";
    HelperThread helper;
    std::vector<std::atomic<int>> runs(200);
    std::vector<bool> reportedRun(runs.size());
    std::atomic<int> onCaller{0};
    const std::thread::id caller = std::this_thread::get_id();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        // Every other task comes to a thread that was asleep, the others to a spinning one.
        if (i % 2 == 0) helper.wake(i % 4 == 0 ? 0 : 20000);
        auto task = [&, i] {
            runs[i].fetch_add(1);
            if (std::this_thread::get_id() == caller) onCaller.fetch_add(1);
        };
        ASSERT_TRUE(helper.start(task));
        // Some tasks are left the time to be taken, the others are finished at once.
        if (i % 3 == 1) within1s([&] { return runs[i].load() == 1; });
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

TEST(HelperThread, FinishWaitsForTheTasksWork) {
    if (!twoCores()) GTEST_SKIP() << "one core";
    HelperThread helper;
    ASSERT_TRUE(helper.wake());
    ASSERT_TRUE(within1s([&] { return helper.awake(); }));
    std::vector<int> squares(100000);
    auto fill = [&] {
        for (std::size_t i = 0; i < squares.size(); ++i)
            squares[i] = static_cast<int>(i % 1000) * static_cast<int>(i % 1000);
    };
    ASSERT_TRUE(helper.start(fill));
    if (!helper.finish()) fill();
    for (std::size_t i = 0; i < squares.size(); i += 997)
        ASSERT_EQ(squares[i], static_cast<int>(i % 1000) * static_cast<int>(i % 1000));
}

TEST(HelperThread, SpinsOnlyForTheTimeGivenThenSleeps) {
    if (!twoCores()) GTEST_SKIP() << "one core";
    HelperThread helper;
    EXPECT_FALSE(helper.awake());
    ASSERT_TRUE(helper.warmUp());
    // Started asleep: it wakes only when asked to.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(helper.awake());
    // 100 ms of spinning: long enough to be seen by a test thread that other processes keep off
    // its core for a few milliseconds (a window of 3 ms was missed once in a busy ctest run).
    ASSERT_TRUE(helper.wake(100'000));
    EXPECT_TRUE(within1s([&] { return helper.awake(); }));
    EXPECT_TRUE(within1s([&] { return !helper.awake(); })) << "still spinning after 100 ms";
}

TEST(HelperThread, StopsWhileSpinningOrAsleep) {
    if (!twoCores()) GTEST_SKIP() << "one core";
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) {
        HelperThread helper;
        if (i % 2) {
            helper.wake(10'000'000); // ten seconds of spinning, cut short by the destructor
        } else {
            helper.warmUp();
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(HelperThread, NoThreadWhenTheProcessHasOneCore) {
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    HelperThread helper;
    EXPECT_FALSE(helper.warmUp());
    EXPECT_FALSE(helper.wake());
    int ran = 0;
    auto task = [&] { ++ran; };
    EXPECT_FALSE(helper.start(task));
    EXPECT_EQ(ran, 0);
    ASSERT_EQ(sched_setaffinity(0, sizeof before, &before), 0);
}

} // namespace
} // namespace plotara

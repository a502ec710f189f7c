// The worker pool and a multi-threaded batch in process, so that ThreadSanitizer sees every
// thread (scripts/test.sh builds this program alone with -fsanitize=thread).
#include "apps/Batch.h"
#include "apps/WorkerPool.h"
#include "file_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <sstream>

namespace plotara::apps {
namespace {

namespace fs = std::filesystem;

using test::readAll;

TEST(WorkerPoolTest, EveryTaskRunsOnceAndFailuresStayWithTheirTask) {
    for (const int workers : {1, 2, 5}) {
        constexpr std::size_t count = 40;
        std::vector<std::atomic<int>> runs(count);
        std::vector<std::size_t> finishedOrder;
        int inside = 0, overlaps = 0; // finished is called under the pool's lock
        const std::vector<std::string> errors = runTasks(
            count, workers,
            [&](std::size_t i) {
                ++runs[i];
                if (i % 7 == 3) throw std::runtime_error("task " + std::to_string(i));
            },
            [&](std::size_t i, const std::string& error) {
                overlaps += inside++;
                finishedOrder.push_back(i);
                EXPECT_EQ(error.empty(), i % 7 != 3) << i;
                --inside;
            });
        ASSERT_EQ(errors.size(), count);
        EXPECT_EQ(finishedOrder.size(), count);
        EXPECT_EQ(overlaps, 0);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_EQ(runs[i].load(), 1) << i;
            EXPECT_EQ(errors[i], i % 7 == 3 ? "task " + std::to_string(i) : "") << i;
        }
    }
    EXPECT_TRUE(runTasks(
                    0, 4, [](std::size_t) { FAIL(); }, nullptr)
                    .empty());
    EXPECT_EQ(workerCount(3), 3);
    EXPECT_GE(workerCount(0), 1);
}

TEST(BatchThreadsTest, ManyThreadsDrawWhatOneThreadDraws) {
    const test::TempDir temp;
    const fs::path& dir = temp.path();
    const std::vector<std::string> types{"column2d", "pie3d",      "msline2d", "stackedbar2d",
                                         "scatter",  "doughnut2d", "area2d",   "mscombidy2d"};
    std::vector<BatchJob> serial, parallel;
    for (std::size_t i = 0; i < types.size() * 2; ++i) {
        RenderRequest request;
        request.type = types[i % types.size()];
        request.route = InputRoute::Sample;
        request.width = 320;
        request.height = 240;
        const std::string name = std::to_string(i) + (i < types.size() ? ".png" : ".svg");
        request.output = (dir / ("one-" + name)).string();
        serial.push_back({static_cast<int>(i + 1), request});
        request.output = (dir / ("many-" + name)).string();
        parallel.push_back({static_cast<int>(i + 1), request});
    }
    // Queries on the built-in sample database: a connection of its own per job.
    for (int i = 0; i < 4; ++i) {
        RenderRequest request;
        request.type = "msline2d";
        request.route = InputRoute::Sqlite;
        request.sql = "SELECT region, month, revenue FROM revenue_by_region";
        request.categoryColumn = "month";
        request.seriesColumn = "region";
        request.valueColumn = "revenue";
        const std::string name = "sql" + std::to_string(i) + ".png";
        request.output = (dir / ("one-" + name)).string();
        serial.push_back({100 + i, request});
        request.output = (dir / ("many-" + name)).string();
        parallel.push_back({100 + i, request});
    }
    // One job that fails among them: the others still come out.
    parallel.push_back({99, parallel.front().request});
    parallel.back().request.type = "nosuchtype";
    parallel.back().request.output = (dir / "failed.png").string();

    std::ostringstream progress;
    EXPECT_TRUE(renderBatch(serial, 1, progress, false).empty());
    const std::vector<BatchFailure> failures = renderBatch(parallel, 4, progress, false);
    EXPECT_EQ(progress.str(), ""); // no terminal, no progress
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].line, 99);
    EXPECT_NE(failures[0].message.find("nosuchtype"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "failed.png"));
    for (std::size_t i = 0; i < serial.size(); ++i) {
        const std::string one = readAll(serial[i].request.output);
        EXPECT_GT(one.size(), 1000u) << serial[i].request.output;
        EXPECT_TRUE(one == readAll(parallel[i].request.output)) << parallel[i].request.output;
    }

    // On a terminal: a bar redrawn in place, ended by a line break.
    std::ostringstream bar;
    EXPECT_TRUE(renderBatch({serial[0], serial[1]}, 2, bar, true).empty());
    EXPECT_NE(bar.str().find("\r["), std::string::npos);
    EXPECT_NE(bar.str().find("] 2/2 "), std::string::npos) << bar.str();
    EXPECT_EQ(bar.str().back(), '\n');
}

} // namespace
} // namespace plotara::apps

// Controls on different threads: each thread owns its control, data object and player, and
// their pictures are the same as one control's alone.
#include "apps/ChartSession.h"

#include <gtest/gtest.h>

#include <thread>

namespace plotara::apps {
namespace {

std::string render(const std::string& chartsDir, const char* type) {
    ChartSession session(360, 240, chartsDir);
    session.selectType(type);
    PlotaraData& data = session.data();
    data.setChartParams(L"caption=Threads;decimals=1;formatNumberScale=1");
    for (int i = 0; i < 12; ++i) {
        data.addCategory(L"C" + std::to_wstring(i));
        data.addChartData(std::to_wstring(1000 + 250 * i * (i % 3)));
    }
    session.control().RenderChart();
    return session.player().png();
}

TEST(Threads, EightControlsInEightThreadsDrawTheSamePictures) {
    const std::string dir = findChartsDir("");
    const char* types[] = {"column2d", "pie3d", "line2d", "area2d"};
    std::vector<std::string> alone;
    for (const char* t : types)
        alone.push_back(render(dir, t));

    std::vector<std::string> drawn(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < drawn.size(); ++i)
        threads.emplace_back([&, i] {
            for (int round = 0; round < 3; ++round)
                drawn[i] = render(dir, types[i % 4]);
        });
    for (std::thread& t : threads)
        t.join();
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        ASSERT_FALSE(drawn[i].empty());
        EXPECT_TRUE(drawn[i] == alone[i % 4]) << "thread " << i;
    }
}

} // namespace
} // namespace plotara::apps

// One animation frame of every chart type's sample document at 1280 x 800: the parsed chart laid
// out again at progress 0.5 and painted to pixels, as a window does 60 times a second while a
// chart draws itself in. A frame should take at most 8 ms (half of a 60 Hz frame).
#include "player/ChartPlayer.h"

#include "tests/player_samples.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

void frame(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    plotara::ChartPlayer player;
    player.setPaintThreads(1);
    player.put_Movie(plotara::fromUtf8(
        plotara::testing::movieUrl(type, plotara::testing::sampleFor(type), 1280, 800)));
    if (player.state() != plotara::PlayerState::Chart) {
        state.SkipWithError("the sample shows no chart");
        return;
    }
    // Two progresses a hair apart, so that every round lays the chart out again.
    double progress = 0.5;
    for (auto _ : state) {
        progress = progress == 0.5 ? 0.5 + 1e-9 : 0.5;
        player.setAnimationProgress(progress);
        plotara::player::ArgbImage image = player.surface(1);
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetLabel(plotara::testing::sampleTypeNames[type]);
}

BENCHMARK(frame)->DenseRange(1, 37)->Unit(benchmark::kMillisecond)->MinTime(0.2);

} // namespace

// Zooming and panning a 10,000-point line at 1280 x 800: one frame is a new visible range
// (setVisibleRange, which lays the parsed chart out again) and the picture painted to pixels, as
// a window does while the viewer drags. The goal is 30 frames a second: under 33 ms a frame.
// The split benchmarks time the two halves apart: the layout alone, and the paint alone.
#include "player/ChartPlayer.h"

#include "tests/player_samples.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int points = 10000;

// A day-by-day series: a random walk (a fixed sequence), as a long measured series looks.
std::string longLine() {
    std::string doc = "<chart showValues='0'>";
    doc.reserve(points * 40);
    unsigned seed = 12345;
    double v = 500;
    for (int i = 0; i < points; ++i) {
        seed = seed * 1103515245u + 12345u;
        v += static_cast<double>((seed >> 16) % 21) - 10;
        doc += "<set label='D" + std::to_string(i) + "' value='" +
               std::to_string(static_cast<int>(v)) + "'/>";
    }
    return doc + "</chart>";
}

bool load(plotara::ChartPlayer& player, benchmark::State& state) {
    player.setPaintThreads(1);
    player.put_Movie(plotara::fromUtf8(plotara::testing::movieUrl(7, longLine(), 1280, 800)));
    if (player.state() == plotara::PlayerState::Chart && player.zooms()) return true;
    state.SkipWithError("the line shows no zoomable chart");
    return false;
}

// The range of frame k: a window of `width` categories panned along the line (width 0: the
// zoom steps between a tenth and the whole line).
plotara::VisibleRange rangeOf(long k, double width) {
    if (width <= 0) width = points * (0.1 + 0.9 * static_cast<double>(k % 10) / 9);
    const double first = static_cast<double>((k * 97) % static_cast<long>(points - width + 1));
    return {first, first + width - 1, 0, 0};
}

void zoomFrame(benchmark::State& state) {
    plotara::ChartPlayer player;
    if (!load(player, state)) return;
    const auto width = static_cast<double>(state.range(0));
    long k = 0;
    for (auto _ : state) {
        player.setVisibleRange(rangeOf(k++, width));
        plotara::player::ArgbImage image = player.surface(1);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}

void zoomLayoutOnly(benchmark::State& state) {
    plotara::ChartPlayer player;
    if (!load(player, state)) return;
    const auto width = static_cast<double>(state.range(0));
    long k = 0;
    for (auto _ : state) {
        player.setVisibleRange(rangeOf(k++, width));
        benchmark::DoNotOptimize(player.scene().items.size());
    }
}

void zoomPaintOnly(benchmark::State& state) {
    plotara::ChartPlayer player;
    if (!load(player, state)) return;
    player.setVisibleRange(rangeOf(0, static_cast<double>(state.range(0))));
    for (auto _ : state) {
        plotara::player::ArgbImage image = player.surface(1);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}

// Width 1000: panning a zoomed tenth; 0: zooming between a tenth and the whole line.
BENCHMARK(zoomFrame)->Arg(1000)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(zoomLayoutOnly)->Arg(1000)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(zoomPaintOnly)->Arg(1000)->Arg(points)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

// Charts with more data than pixels, at doubling sizes: a pie of n slices (three large, the rest
// slivers merged into one "Other" slice) and n bubbles on a 640x480 chart (more than the
// 233,000 pixels of its plot, so the bubbles hidden under others are skipped). Each run
// parses, lays out and draws to pixels; "per_element" stays flat while the cost is linear.
#include "player/ChartPlayer.h"

#include "bench/player_workloads.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

using plotara::bench::url;

std::string pie(std::int64_t n) {
    std::string x = "<chart caption='Slivers'><set label='A' value='300000'/>"
                    "<set label='B' value='200000'/><set label='C' value='100000'/>";
    for (std::int64_t i = 3; i < n; ++i)
        x += "<set label='S" + std::to_string(i) + "' value='" + std::to_string(1 + i % 5) + "'/>";
    return url(4, x + "</chart>");
}

std::string bubbles(std::int64_t n) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> at(0, 100), size(0, 50);
    std::string x = "<chart caption='Bubbles'><dataset seriesName='S'>";
    char set[96];
    for (std::int64_t i = 0; i < n; ++i) {
        std::snprintf(set, sizeof set, "<set x='%.3f' y='%.3f' z='%.2f'/>", at(random), at(random),
                      size(random));
        x += set;
    }
    return url(30, x + "</dataset></chart>");
}

void drawn(benchmark::State& state, const std::string& movie) {
    for (auto _ : state) {
        plotara::ChartPlayer player;
        player.put_Movie(plotara::fromUtf8(movie));
        benchmark::DoNotOptimize(player.surface().pixels.data());
    }
    state.SetComplexityN(state.range(0));
    state.counters["per_element"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PieOfManySlices(benchmark::State& state) {
    drawn(state, pie(state.range(0)));
}
BENCHMARK(BM_PieOfManySlices)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_ManyBubbles(benchmark::State& state) {
    drawn(state, bubbles(state.range(0)));
}
BENCHMARK(BM_ManyBubbles)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

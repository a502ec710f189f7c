// Parse + lay out + draw at 640x480, to PNG and to SVG, for the five reference workloads.
#include "player/ChartPlayer.h"

#include "bench/player_workloads.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

using plotara::bench::url;

std::string column12() {
    std::string x = "<chart caption='Monthly revenue' numberPrefix='$'>";
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i)
        x += std::string("<set label='") + months[i] + "' value='" +
             std::to_string(1000 + (i * 7919) % 5000) + "'/>";
    return url(2, x + "</chart>");
}

std::string lines4x1000() {
    return url(12, plotara::bench::lineDocument());
}

std::string scatter2x15000() {
    return url(29, plotara::bench::scatterDocument());
}

std::string pie8() {
    std::string x = "<chart caption='Share' showPercentValues='1'>";
    for (int i = 0; i < 8; ++i)
        x += "<set label='Slice " + std::to_string(i) + "' value='" + std::to_string(10 + i * 3) +
             "'/>";
    return url(4, x + "</chart>");
}

std::string stacked5x50() {
    std::string x = "<chart caption='Stacked'><categories>";
    for (int i = 0; i < 50; ++i)
        x += "<category label='C" + std::to_string(i) + "'/>";
    x += "</categories>";
    for (int s = 0; s < 5; ++s) {
        x += "<dataset seriesName='S" + std::to_string(s) + "'>";
        for (int i = 0; i < 50; ++i)
            x += "<set value='" + std::to_string(5 + (i * 13 + s * 7) % 20) + "'/>";
        x += "</dataset>";
    }
    return url(17, x + "</chart>");
}

template <bool Svg>
void render(benchmark::State& state, const std::string& movieUrl) {
    plotara::ChartPlayer player;
    plotara::String wide = plotara::fromUtf8(movieUrl);
    std::size_t bytes = 0;
    for (auto _ : state) {
        player.put_Movie(wide);
        std::string out = Svg ? player.svg() : player.png();
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    if (player.state() != plotara::PlayerState::Chart) state.SkipWithError("no chart drawn");
    state.counters["output_bytes"] = static_cast<double>(bytes);
}

#define PLOTARA_WORKLOAD(name, maker)                                                              \
    void BM_##name##_png(benchmark::State& s) {                                                    \
        render<false>(s, maker());                                                                 \
    }                                                                                              \
    void BM_##name##_svg(benchmark::State& s) {                                                    \
        render<true>(s, maker());                                                                  \
    }                                                                                              \
    BENCHMARK(BM_##name##_png)->Unit(benchmark::kMillisecond);                                     \
    BENCHMARK(BM_##name##_svg)->Unit(benchmark::kMillisecond)

PLOTARA_WORKLOAD(Column12, column12);
PLOTARA_WORKLOAD(Line4x1000, lines4x1000);
PLOTARA_WORKLOAD(Scatter2x15000, scatter2x15000);
PLOTARA_WORKLOAD(Pie8, pie8);
PLOTARA_WORKLOAD(Stacked5x50, stacked5x50);

} // namespace

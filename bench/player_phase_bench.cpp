// The phases of the heaviest workloads measured apart: parsing the chart XML, laying out the
// scene, and writing the scene as PNG and as SVG (640x480).
#include "player/ChartRenderer.h"
#include "player/draw/Output.h"
#include "player/model/ChartParser.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace plotara::player;

std::string scatterXml() {
    std::mt19937 rng(2);
    std::normal_distribution<double> d(50, 15);
    std::string x = "<chart caption='Scatter'>";
    for (int s = 0; s < 2; ++s) {
        x += "<dataset seriesName='S" + std::to_string(s) + "'>";
        for (int i = 0; i < 15000; ++i)
            x += "<set x='" + std::to_string(d(rng)) + "' y='" + std::to_string(d(rng)) + "'/>";
        x += "</dataset>";
    }
    return x + "</chart>";
}

std::string lineXml() {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> d(-1, 1);
    std::string x = "<chart caption='Four series'><categories>";
    for (int i = 0; i < 1000; ++i)
        x += "<category label='" + std::to_string(i) + "'/>";
    x += "</categories>";
    for (int s = 0; s < 4; ++s) {
        x += "<dataset seriesName='S" + std::to_string(s) + "'>";
        double v = 100;
        for (int i = 0; i < 1000; ++i) {
            v += d(rng);
            x += "<set value='" + std::to_string(v) + "'/>";
        }
        x += "</dataset>";
    }
    return x + "</chart>";
}

ChartMovie movie(int type) {
    char file[16];
    std::snprintf(file, sizeof file, "PTM%02d.swf", type);
    auto m = loadChartMovie(std::string(PLOTARA_SOURCE_DIR) + "/share/plotara/charts/" + file);
    return m ? *m : ChartMovie{};
}

struct Workload {
    std::string xml;
    ChartMovie movie;
};

Workload scatter() {
    return {scatterXml(), movie(29)};
}
Workload line() {
    return {lineXml(), movie(12)};
}

template <Workload (*Make)()>
void BM_Parse(benchmark::State& state) {
    Workload w = Make();
    for (auto _ : state) {
        ParseResult r = parseChartXml(w.xml);
        benchmark::DoNotOptimize(r.model.datasets.data());
    }
}

template <Workload (*Make)()>
void BM_Layout(benchmark::State& state) {
    Workload w = Make();
    ParseResult r = parseChartXml(w.xml);
    TextEngine text;
    Scene scene;
    ViewState view;
    for (auto _ : state) {
        renderChart(scene, text, r.model, w.movie, 640, 480, view, {}, nullptr);
        benchmark::DoNotOptimize(scene.items.data());
    }
}

template <Workload (*Make)(), bool Svg>
void BM_Write(benchmark::State& state) {
    Workload w = Make();
    ParseResult r = parseChartXml(w.xml);
    TextEngine text;
    Scene scene;
    ViewState view;
    renderChart(scene, text, r.model, w.movie, 640, 480, view, {}, nullptr);
    RasterCache cache;
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string out = Svg ? renderSvg(scene, text) : renderPng(scene, text, 1, &cache);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["output_bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_Parse<scatter>)->Name("BM_Phase_Scatter_parse")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout<scatter>)->Name("BM_Phase_Scatter_layout")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write<scatter, false>)->Name("BM_Phase_Scatter_png")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write<scatter, true>)->Name("BM_Phase_Scatter_svg")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse<line>)->Name("BM_Phase_Line_parse")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout<line>)->Name("BM_Phase_Line_layout")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write<line, false>)->Name("BM_Phase_Line_png")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write<line, true>)->Name("BM_Phase_Line_svg")->Unit(benchmark::kMillisecond);

} // namespace

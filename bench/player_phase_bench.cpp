// The phases of the heaviest workloads measured apart: parsing the chart XML, laying out the
// scene, and writing the scene as PNG and as SVG (640x480).
#include "player/detail/ChartRenderer.h"
#include "player/draw/Output.h"
#include "player/draw/PngEncoder.h"
#include "player/model/ChartParser.h"

#include "bench/player_workloads.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace plotara::player;

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
    return {plotara::bench::scatterDocument(), movie(29)};
}
Workload line() {
    return {plotara::bench::lineDocument(), movie(12)};
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

// The PNG encoding alone, of the painted picture: the player's encoder against cairo's own
// writer (libpng and zlib at their default level).
template <Workload (*Make)(), bool Cairo>
void BM_Encode(benchmark::State& state) {
    Workload w = Make();
    ParseResult r = parseChartXml(w.xml);
    TextEngine text;
    Scene scene;
    ViewState view;
    renderChart(scene, text, r.model, w.movie, 640, 480, view, {}, nullptr);
    ArgbImage image = renderArgb(scene, text, 1, nullptr, 1);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        image.pixels.data(), CAIRO_FORMAT_ARGB32, image.width, image.height, image.stride);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string out;
        if (Cairo) {
            cairo_surface_write_to_png_stream(
                surface,
                [](void* c, const unsigned char* d, unsigned n) {
                    static_cast<std::string*>(c)->append(reinterpret_cast<const char*>(d), n);
                    return CAIRO_STATUS_SUCCESS;
                },
                &out);
        } else {
            out = encodePng(surface);
        }
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    cairo_surface_destroy(surface);
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

BENCHMARK(BM_Encode<scatter, false>)->Name("BM_Encode_Scatter_png")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode<scatter, true>)->Name("BM_Encode_Scatter_cairo")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode<line, false>)->Name("BM_Encode_Line_png")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode<line, true>)->Name("BM_Encode_Line_cairo")->Unit(benchmark::kMillisecond);

} // namespace

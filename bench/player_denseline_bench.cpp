// A 10,000-point line across a 1280 x 800 picture (the live benchmark's line: a random walk, 2
// pixels wide), drawn the way raster outputs draw it (strokeLines: spans) beside cairo's own
// stroke of the same line in pieces with fast anti-aliasing (how it was drawn before).
#include "player/draw/LineStrokes.h"
#include "player/draw/Scene.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cstdint>

namespace {

using namespace plotara::player;

ShapeItem walkLine() {
    std::uint64_t state = 42;
    ShapeItem line;
    line.stroked = true;
    line.stroke = {rgb(0x1D8BD1), 2};
    double y = 400;
    for (int i = 0; i < 10000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        y = std::clamp(y + static_cast<double>((state >> 33) % 1000) / 100.0 - 5.0, 60.0, 740.0);
        const double x = 60 + 1180.0 * i / 9999;
        i == 0 ? line.path.moveTo(x, y) : line.path.lineTo(x, y);
    }
    return line;
}

template <bool Cairo>
void BM_DenseLine(benchmark::State& state) {
    const ShapeItem line = walkLine();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1280, 800);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (auto _ : state) {
        if (Cairo) {
            cairo_set_antialias(cr, CAIRO_ANTIALIAS_FAST);
            cairo_set_source_rgb(cr, 0.11, 0.55, 0.82);
            cairo_set_line_width(cr, 2);
            const auto& segs = line.path.segments();
            for (std::size_t from = 0; from + 1 < segs.size(); from += 32) {
                cairo_move_to(cr, segs[from].x, segs[from].y);
                for (std::size_t k = from + 1; k < std::min(segs.size(), from + 34); ++k)
                    cairo_line_to(cr, segs[k].x, segs[k].y);
                cairo_stroke(cr);
            }
        } else {
            strokeLines(cr, {line}, {}, 1);
        }
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

BENCHMARK(BM_DenseLine<false>)->Name("BM_DenseLine_spans")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DenseLine<true>)->Name("BM_DenseLine_cairo")->Unit(benchmark::kMillisecond);

} // namespace

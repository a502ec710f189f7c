// Dense lines drawn as spans: exact coverage where it can be worked out by hand, and the same
// picture as cairo's own stroke of the whole line where it cannot.
#include "player/draw/DenseLines.h"
#include "player/draw/LineStrokes.h"
#include "player/draw/Scene.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace plotara {
namespace {

using namespace player;

// A white ARGB32 picture with the pixels the tests read back.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    Picture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, ~0u) {}
    PixelView view() {
        return {reinterpret_cast<std::uint8_t*>(pixels.data()), width, height, width * 4, false};
    }
    // How dark the pixel is: 0 white, 255 black (the tests draw black on white).
    int ink(int x, int y) const { return 255 - static_cast<int>(pixels[y * width + x] & 0xFF); }
};

std::vector<Point> flatLine(double x0, double x1, double y, int points) {
    std::vector<Point> line;
    for (int i = 0; i < points; ++i)
        line.push_back({x0 + (x1 - x0) * i / (points - 1), y});
    return line;
}

TEST(DenseLines, CoverageIsExactWhereItCanBeWorkedOut) {
    // A flat line 2 pixels wide at y = 20.5 covers rows 19.5 to 21.5: row 20 wholly, rows 19
    // and 21 half. Its butt ends stop at x = 10 and x = 60, and a clip at x = 40.5 halves
    // column 40.
    const std::vector<Point> line = flatLine(10, 60, 20.5, 200);
    Picture p(80, 40);
    fillDenseRun(p.view(), line.data(), line.size(), 2, Rect{0, 0, 40.5, 40}, rgb(0x000000));
    EXPECT_EQ(p.ink(20, 20), 255);
    EXPECT_NEAR(p.ink(20, 19), 128, 1);
    EXPECT_NEAR(p.ink(20, 21), 128, 1);
    EXPECT_EQ(p.ink(20, 18), 0);
    EXPECT_EQ(p.ink(20, 22), 0);
    EXPECT_EQ(p.ink(10, 20), 255) << "the line starts at the column's left edge";
    EXPECT_EQ(p.ink(9, 20), 0) << "butt end: nothing before the first point";
    EXPECT_NEAR(p.ink(40, 20), 128, 1) << "the clip takes two of the column's four samples";
    EXPECT_EQ(p.ink(41, 20), 0);

    // A line 3 pixels wide that rises 10 pixels in one pixel's width between two flat parts:
    // at the rise's column every row between the parts is covered, the round joins round the
    // corners off, and no ink lies above or below the stroke's reach.
    std::vector<Point> step = flatLine(0, 30, 10, 120);
    for (const Point& q : flatLine(31, 60, 20, 120))
        step.push_back(q);
    Picture s(64, 32);
    fillDenseRun(s.view(), step.data(), step.size(), 3, Rect{0, 0, 64, 32}, rgb(0x000000));
    for (int y = 10; y < 20; ++y)
        EXPECT_EQ(s.ink(30, y), 255) << "row " << y << " of the rise";
    EXPECT_EQ(s.ink(15, 7), 0);
    EXPECT_NEAR(s.ink(15, 8), 128, 1);
    EXPECT_EQ(s.ink(15, 9), 255);
    EXPECT_NEAR(s.ink(45, 21), 128, 1);
    EXPECT_EQ(s.ink(45, 22), 0);

    // Colour and alpha blend over what is there, premultiplied.
    Picture c(80, 40);
    fillDenseRun(c.view(), line.data(), line.size(), 2, Rect{0, 0, 80, 40}, Color{1, 0, 0, 0.5});
    EXPECT_EQ(c.pixels[20 * 80 + 20], 0xFFFF8080u);
}

TEST(DenseLines, OnlyManyPointsAPixelInOrderAreDense) {
    struct Case {
        const char* name;
        std::vector<Point> points;
        bool dense;
    };
    std::vector<Point> backwards = flatLine(0, 10, 5, 100);
    backwards[50].x = 1;
    std::vector<Point> broken = flatLine(0, 10, 5, 100);
    broken[7].y = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"2 points a pixel", flatLine(0, 100, 5, 201), true},
        {"under 2 points a pixel", flatLine(0, 100, 5, 200), false},
        {"vertical", flatLine(5, 5, 5, 100), true},
        {"too few segments", flatLine(0, 10, 5, 64), false},
        {"x runs back", backwards, false},
        {"not a number", broken, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isDenseRun(c.points.data(), c.points.size()), c.dense) << c.name;
}

// A wandering line of n points from x0 to x1 around y (a random walk from a fixed seed), with
// a spike of `spike` pixels every 50 points.
ShapeItem walk(int n, double x0, double x1, double y, double step, double spike, double width) {
    std::uint32_t seed = 777;
    ShapeItem line;
    line.stroked = true;
    line.stroke = {rgb(0x000000), width};
    for (int i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        y += (static_cast<double>(seed >> 8) / (1u << 24) - 0.5) * step;
        const double x = x0 + (x1 - x0) * i / (n - 1);
        const double at = i % 50 == 25 ? y - spike : y;
        i == 0 ? line.path.moveTo(x, at) : line.path.lineTo(x, at);
    }
    return line;
}

struct Surface {
    cairo_surface_t* surface;
    cairo_t* cr;
    Surface(int w, int h, double scale, const std::optional<Rect>& clip) {
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_scale(cr, scale, scale);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        if (clip) {
            cairo_rectangle(cr, clip->x, clip->y, clip->w, clip->h);
            cairo_clip(cr);
        }
    }
    ~Surface() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    // How dark each pixel is (0 white, 255 black).
    std::vector<int> ink() {
        cairo_surface_flush(surface);
        const int w = cairo_image_surface_get_width(surface);
        const int h = cairo_image_surface_get_height(surface);
        std::vector<int> out;
        for (int y = 0; y < h; ++y) {
            const auto* row =
                reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                       y * cairo_image_surface_get_stride(surface));
            for (int x = 0; x < w; ++x)
                out.push_back(255 - static_cast<int>(row[x] & 0xFF));
        }
        return out;
    }
};

TEST(DenseLines, LookAsCairoStrokesThem) {
    // The raster outputs draw such lines as spans; cairo's stroke of the whole line (at its
    // default, finer anti-aliasing) is the picture they must match.
    struct Case {
        const char* name;
        ShapeItem line;
        double scale;
        std::optional<Rect> clip;
    };
    const Case cases[] = {
        {"a walk, 2 pixels", walk(3000, 10, 310, 100, 6, 0, 2), 1, std::nullopt},
        {"a walk, 1 pixel, clipped", walk(3000, -5, 330, 100, 6, 0, 1), 1,
         Rect{20.5, 30.25, 280.3, 130.6}},
        {"a calm walk, 3.5 pixels", walk(2000, 10, 310, 100, 1, 0, 3.5), 1, std::nullopt},
        {"spikes, scale 2", walk(2000, 10, 150, 60, 4, 40, 2), 2, std::nullopt},
        {"steep walk, scale 1.5", walk(4000, 10, 200, 60, 20, 0, 1.5), 1.5, std::nullopt},
        {"12 pixels wide, off the top and the right", walk(2000, 200, 400, 4, 3, 0, 12), 1,
         std::nullopt},
    };
    for (const Case& c : cases) {
        const int w = static_cast<int>(320 * c.scale), h = static_cast<int>(200 * c.scale);
        Surface spans(w, h, c.scale, c.clip), cairo(w, h, c.scale, c.clip);
        std::vector<Rect> clips;
        if (c.clip) clips.push_back(*c.clip);
        ASSERT_EQ(strokeLines(spans.cr, {c.line}, clips, 1), 1) << c.name;
        const std::vector<PathSeg>& segs = c.line.path.segments();
        cairo_set_source_rgb(cairo.cr, 0, 0, 0);
        cairo_set_line_width(cairo.cr, c.line.stroke.width);
        cairo_move_to(cairo.cr, segs[0].x, segs[0].y);
        for (std::size_t k = 1; k < segs.size(); ++k)
            cairo_line_to(cairo.cr, segs[k].x, segs[k].y);
        cairo_stroke(cairo.cr);
        const std::vector<int> a = spans.ink(), b = cairo.ink();
        // Near its two ends the spans may differ from cairo's butt ends by a few pixels.
        const double reach = c.line.stroke.width * c.scale / 2 + 2;
        const double start = segs.front().x * c.scale, end = segs.back().x * c.scale;
        long inkA = 0, inkB = 0, diff = 0;
        int farAway = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            inkA += a[i];
            inkB += b[i];
            diff += std::abs(a[i] - b[i]);
            const double x = static_cast<double>(i % static_cast<std::size_t>(w)) + 0.5;
            const bool nearEnd = std::abs(x - start) < reach || std::abs(x - end) < reach;
            farAway += std::abs(a[i] - b[i]) > 64 && !nearEnd;
        }
        ASSERT_GT(inkB, 255 * 1000) << c.name;
        EXPECT_NEAR(static_cast<double>(inkA) / inkB, 1, 0.015) << c.name << ": as much ink";
        // The differences are the anti-aliased rims': at most 16 of 255 for each pixel of ink.
        EXPECT_LT(static_cast<double>(diff) / (inkB / 255.0), 16) << c.name;
        EXPECT_EQ(farAway, 0) << c.name << ": pixels far off cairo's";
    }

    // strokeLines drew the spans (and not cairo's stroke again): the pixels are fillDenseRun's.
    const ShapeItem line = walk(3000, 10, 310, 100, 6, 0, 2);
    Surface viaLines(320, 200, 1, std::nullopt);
    strokeLines(viaLines.cr, {line}, {}, 1);
    Picture direct(320, 200);
    std::vector<Point> points;
    for (const PathSeg& seg : line.path.segments())
        points.push_back({seg.x, seg.y});
    fillDenseRun(direct.view(), points.data(), points.size(), 2, Rect{0, 0, 320, 200},
                 rgb(0x000000));
    const std::vector<int> drawn = viaLines.ink();
    int same = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x)
            same += drawn[static_cast<std::size_t>(y * 320 + x)] == direct.ink(x, y);
    }
    EXPECT_EQ(same, 320 * 200);
}

} // namespace
} // namespace plotara

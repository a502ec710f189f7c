// Long lines on raster targets: stroked by two threads they come out with the very pixels of one
// pass, whatever the scale, clip and crossings; the canvas strokes them in their place among the
// other items.
#include "player/ChartPlayer.h"
#include "player/draw/CairoCanvas.h"
#include "player/draw/LineStrokes.h"
#include "player/draw/Output.h"
#include "player/draw/Scene.h"
#include "player/draw/TextEngine.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace plotara {
namespace {

using namespace player;

constexpr int width = 320, height = 200;

// Zigzag lines across the chart that wander up and down and cross each other, from a fixed
// seed; every `gapEvery` points a line breaks off and starts again (a missing value).
std::vector<ShapeItem> wanderingLines(int count, int points, std::size_t gapEvery) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / (1u << 24); // [0, 1)
    };
    const Color colors[] = {rgb(0xFFE080), rgb(0x80C0FF), rgb(0x202020), rgb(0xE03030)};
    std::vector<ShapeItem> lines;
    for (int s = 0; s < count; ++s) {
        // The edge of a light line, then the line, as the line plot strokes them.
        ShapeItem line;
        line.stroked = true;
        line.stroke = {colors[s % 4], 1.0 + s % 3};
        double y = 40 + 120.0 * s / count;
        for (int i = 0; i < points; ++i) {
            y += (next() - 0.5) * 14;
            const double x = -6 + (width + 12.0) * i / (points - 1);
            if (i == 0 || (gapEvery > 0 && i % gapEvery == 0)) {
                line.path.moveTo(x, y);
            } else {
                line.path.lineTo(x, y);
            }
        }
        ShapeItem edge = line;
        edge.stroke = {rgb(0x404040), line.stroke.width + 1.5};
        lines.push_back(edge);
        lines.push_back(line);
    }
    return lines;
}

struct Picture {
    std::vector<std::uint32_t> pixels;
    int threads = 0;
};

// The pixels of a finished surface; destroys the context and the surface.
std::vector<std::uint32_t> takePixels(cairo_t* cr, cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface),
              h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::memcpy(&pixels[static_cast<std::size_t>(y) * w],
                    cairo_image_surface_get_data(surface) + static_cast<std::ptrdiff_t>(y) * stride,
                    static_cast<std::size_t>(w) * 4);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return pixels;
}

// The lines stroked with up to maxThreads on a white surface, scaled and clipped as the raster
// output and the plot area set them up.
Picture strokeOnSurface(const std::vector<ShapeItem>& lines, double scale,
                        const std::optional<Rect>& clip, int maxThreads) {
    const int w = static_cast<int>(width * scale), h = static_cast<int>(height * scale);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, scale, scale);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    std::vector<Rect> clips;
    if (clip) {
        cairo_rectangle(cr, clip->x, clip->y, clip->w, clip->h);
        cairo_clip(cr);
        clips.push_back(*clip);
    }
    Picture picture;
    picture.threads = strokeLines(cr, lines, clips, maxThreads);
    picture.pixels = takePixels(cr, surface);
    return picture;
}

TEST(LineStrokes, TwoThreadsGiveThePixelsOfOnePass) {
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one hardware thread";
    struct Case {
        const char* name;
        int lines, points;
        std::size_t gapEvery;
        double scale;
        std::optional<Rect> clip;
    };
    const Case cases[] = {
        {"fractional clip, lines leave it", 4, 600, 0, 1, Rect{20.5, 30.25, 280.3, 130.6}},
        {"no clip, lines leave the surface", 4, 600, 0, 1, std::nullopt},
        {"missing values break the lines", 3, 600, 37, 1, Rect{10, 10, 300, 180}},
        {"device scale 2", 4, 600, 0, 2, Rect{20.5, 30.25, 280.3, 130.6}},
        {"device scale 1.5, many crossings", 6, 900, 0, 1.5, Rect{0.7, 0.7, 318, 198}},
    };
    for (const Case& c : cases) {
        const std::vector<ShapeItem> lines = wanderingLines(c.lines, c.points, c.gapEvery);
        const Picture onePass = strokeOnSurface(lines, c.scale, c.clip, 1);
        ASSERT_EQ(onePass.threads, 1) << c.name;
        // The threads meet in a different order on every run: a few runs each.
        for (int run = 0; run < 3; ++run) {
            const Picture two = strokeOnSurface(lines, c.scale, c.clip, 2);
            ASSERT_EQ(two.threads, 2) << c.name;
            ASSERT_EQ(two.pixels.size(), onePass.pixels.size()) << c.name;
            EXPECT_TRUE(two.pixels == onePass.pixels) << c.name << ", run " << run;
        }
        const Picture blank = strokeOnSurface({}, c.scale, c.clip, 1);
        EXPECT_NE(onePass.pixels, blank.pixels) << c.name << ": nothing was drawn";
    }
}

// The canvas's pixels of a scene on a width x height surface.
std::vector<std::uint32_t> paint(const Scene& scene) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    TextEngine text;
    {
        CairoCanvas canvas(cr, text, 1);
        paintScene(scene, canvas);
    }
    return takePixels(cr, surface);
}

TEST(LineStrokes, TheCanvasStrokesLinesInTheirPlaceAmongTheItems) {
    // Lines wait to be stroked together; whatever comes after them must still cover them, and
    // the clip they were drawn in must still cut them.
    const Rect clip{40, 30, 200, 100};
    const Rect cover{100, 0, 40, height};
    for (int c = 0; c < 4; ++c) {
        const bool markers = c % 2 == 1, coverInClip = c >= 2;
        const std::string name = std::string(markers ? "markers" : "rectangle") +
                                 (coverInClip ? " inside the clip" : " after the clip");
        Scene scene;
        scene.width = width;
        scene.height = height;
        scene.add(ClipPush{clip});
        for (ShapeItem& line : wanderingLines(4, 1000, 0))
            scene.add(std::move(line));
        if (!coverInClip) scene.add(ClipPop{});
        if (markers) {
            MarkerItem m;
            m.radius = 8;
            m.fill = rgb(0x00FF00);
            m.bordered = false;
            for (int y = 10; y < height; y += 12)
                m.points.push_back({120, static_cast<double>(y)});
            scene.add(std::move(m));
        } else {
            scene.fillRect(cover, rgb(0x00FF00));
        }
        if (coverInClip) scene.add(ClipPop{});
        const std::vector<std::uint32_t> pixels = paint(scene);
        for (int y = static_cast<int>(clip.y); y < clip.bottom(); y += 3)
            EXPECT_EQ(pixels[y * width + 120], 0xFF00FF00) << name << " at row " << y;
        // Outside the clip (and off the cover) the picture is the white background.
        int outside = 0, inside = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (x >= 100 && x < 140) continue;
                const bool in = x >= clip.x - 1 && x < clip.right() + 1 && y >= clip.y - 1 &&
                                y < clip.bottom() + 1;
                (in ? inside : outside) += pixels[y * width + x] != 0xFFFFFFFF;
            }
        }
        EXPECT_EQ(outside, 0) << name;
        EXPECT_GT(inside, 1000) << name;
    }
}

TEST(LineStrokes, ThePaintThreadsAllowanceGivesTheSamePicture) {
    // A pool of players paints with one thread each; a lone player may use two. Same pixels.
    Scene scene;
    scene.width = width;
    scene.height = height;
    scene.add(ClipPush{Rect{20.5, 10.25, 280, 170}});
    for (ShapeItem& line : wanderingLines(4, 1000, 97))
        scene.add(std::move(line));
    scene.add(ClipPop{});
    TextEngine text;
    const ArgbImage one = renderArgb(scene, text, 1.5, nullptr, 1);
    const ArgbImage two = renderArgb(scene, text, 1.5, nullptr, 2);
    ASSERT_EQ(one.width, 480);
    EXPECT_TRUE(one.pixels == two.pixels);
    EXPECT_EQ(renderPng(scene, text, 1, nullptr, 1), renderPng(scene, text, 1, nullptr, 2));

    ChartPlayer player;
    EXPECT_EQ(player.paintThreads(), 1) << "no thread of the library's own unless asked for";
    const int asked[] = {0, 1, 2, 7, -3};
    const int kept[] = {1, 1, 2, 2, 1};
    for (int i = 0; i < 5; ++i) {
        player.setPaintThreads(asked[i]);
        EXPECT_EQ(player.paintThreads(), kept[i]) << "asked for " << asked[i];
    }
}

} // namespace
} // namespace plotara

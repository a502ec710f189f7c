// Long lines on raster targets: stroked by two threads they come out with the very pixels of one
// pass, whatever the scale, clip and crossings; the canvas strokes them in their place among the
// other items.
#include "player/draw/CairoCanvas.h"
#include "player/draw/LineStrokes.h"
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
    std::vector<unsigned char> pixels;
    int threads = 0;
};

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
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const auto size = static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) * h;
    picture.pixels.assign(data, data + size);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
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
        {"fractional clip, lines leave it", 4, 1000, 0, 1, Rect{20.5, 30.25, 280.3, 130.6}},
        {"no clip, lines leave the surface", 4, 1000, 0, 1, std::nullopt},
        {"missing values break the lines", 3, 800, 37, 1, Rect{10, 10, 300, 180}},
        {"device scale 2", 4, 600, 0, 2, Rect{20.5, 30.25, 280.3, 130.6}},
        {"device scale 1.5, many crossings", 6, 1500, 0, 1.5, Rect{0.7, 0.7, 318, 198}},
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

TEST(LineStrokes, OnlyLongOpaqueSolidPolylinesAreStrokedInPieces) {
    auto line = [](int points) {
        ShapeItem item;
        item.stroked = true;
        item.stroke = {rgb(0x3366CC), 2};
        for (int i = 0; i < points; ++i) {
            if (i == 0) {
                item.path.moveTo(i, i % 7);
            } else {
                item.path.lineTo(i, i % 7);
            }
        }
        return item;
    };
    ShapeItem dashed = line(200), translucent = line(200), filled = line(200), curved = line(200),
              bare = line(200);
    dashed.stroke.dash = 4;
    translucent.stroke.color = withAlpha(rgb(0x3366CC), 50);
    filled.filled = true;
    curved.path.arc(50, 50, 10, 10, 0, 1);
    bare.stroked = false;
    const struct {
        const char* name;
        ShapeItem item;
        bool pieces;
    } cases[] = {
        {"long solid line", line(200), true}, {"at the piece limit", line(64), false},
        {"just past it", line(65), true},     {"dashed", dashed, false},
        {"translucent", translucent, false},  {"filled", filled, false},
        {"with an arc", curved, false},       {"not stroked", bare, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPieceStroke(c.item), c.pieces) << c.name;
}

// The canvas's pixels of a scene on a width x height surface.
std::vector<unsigned char> paint(const Scene& scene) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    TextEngine text;
    {
        CairoCanvas canvas(cr, text, 1);
        paintScene(scene, canvas);
    }
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> pixels(
        data, data + static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) * height);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return pixels;
}

std::uint32_t pixelAt(const std::vector<unsigned char>& pixels, int x, int y) {
    std::uint32_t p;
    std::memcpy(&p, pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4, 4);
    return p;
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
        Scene background;
        background.width = width;
        background.height = height;
        const auto pixels = paint(scene);
        const auto blank = paint(background);
        const std::uint32_t green = 0xFF00FF00;
        for (int y = static_cast<int>(clip.y); y < clip.bottom(); y += 3)
            EXPECT_EQ(pixelAt(pixels, 120, y), green) << name << " at row " << y;
        // Outside the clip (and off the cover) the picture is the background.
        int outside = 0, inside = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (x >= 100 && x < 140) continue;
                const bool in = x >= clip.x - 1 && x < clip.right() + 1 && y >= clip.y - 1 &&
                                y < clip.bottom() + 1;
                const bool changed = pixelAt(pixels, x, y) != pixelAt(blank, x, y);
                (in ? inside : outside) += changed;
            }
        }
        EXPECT_EQ(outside, 0) << name;
        EXPECT_GT(inside, 1000) << name;
    }
}

} // namespace
} // namespace plotara

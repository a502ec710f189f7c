// The scene's compact rectangles: visited in painting order with their outlines, painting
// exactly as the rectangle paths they stand for, sharing their looks; and paths shared by copies.
#include "player/draw/CairoCanvas.h"
#include "player/draw/Scene.h"
#include "player/draw/TextEngine.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace plotara {
namespace {

using namespace player;

TEST(SceneRects, ShapesAreVisitedInPaintingOrderWithTheirOutlines) {
    Scene scene;
    const Stroke edge{rgb(0x00FF00), 0.8};
    scene.addRect({0, 0, 10, 5}, rgb(0xFF0000));
    scene.line(0, 0, 5, 5, edge);
    scene.addRect({2, 3, 4, 6}, rgb(0x0000FF), &edge);
    std::vector<ShapeItem> seen;
    scene.forEachShape([&](const ShapeItem& s) { seen.push_back(s); });
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].filled);
    EXPECT_FALSE(seen[0].stroked);
    EXPECT_EQ(seen[0].fill, rgb(0xFF0000));
    EXPECT_TRUE(seen[1].stroked);
    EXPECT_FALSE(seen[1].filled);
    EXPECT_TRUE(seen[2].filled && seen[2].stroked);
    EXPECT_EQ(seen[2].stroke.color, rgb(0x00FF00));
    EXPECT_EQ(seen[2].stroke.width, 0.8);
    // The rectangle's own path: its corners clockwise from the top left, closed.
    const std::vector<PathSeg>& segs = seen[2].path.segments();
    ASSERT_EQ(segs.size(), 5u);
    const double corners[4][2] = {{2, 3}, {6, 3}, {6, 9}, {2, 9}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(segs[i].x, corners[i][0]) << i;
        EXPECT_EQ(segs[i].y, corners[i][1]) << i;
    }
    EXPECT_EQ(segs[4].op, PathOp::Close);
}

// The pixels of a scene painted on a 60 x 40 surface.
std::vector<unsigned char> pixelsOf(const Scene& scene) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 60, 40);
    cairo_t* cr = cairo_create(surface);
    TextEngine text;
    {
        CairoCanvas canvas(cr, text, 1);
        paintScene(scene, canvas);
    }
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const auto size = static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) * 40;
    std::vector<unsigned char> pixels(data, data + size);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return pixels;
}

TEST(SceneRects, PaintExactlyAsTheirPaths) {
    // Fractional edges, translucent fills and outlines, overlaps and a clip: every way the
    // compact form could paint differently from the path it replaces.
    const Rect rects[] = {{3.25, 4.5, 20.3, 11.7}, {15.5, 10.1, 30, 20}, {-5, 30, 80, 6.6}};
    const Color fills[] = {rgb(0xFF0000), withAlpha(rgb(0x3366CC), 60),
                           withAlpha(rgb(0x00AA00), 35)};
    // A dashed outline cannot join a run: it must paint as its own dashed path.
    const Stroke edges[] = {
        {withAlpha(rgb(0x000000), 80), 0.8}, {rgb(0x663300), 2.5}, {rgb(0x000000), 1, 4, 2}};
    for (int outlined = 0; outlined < 2; ++outlined) {
        Scene compact, paths;
        compact.width = paths.width = 60;
        compact.height = paths.height = 40;
        compact.add(ClipPush{{1, 1, 55, 36}});
        paths.add(ClipPush{{1, 1, 55, 36}});
        for (std::size_t i = 0; i < std::size(rects); ++i) {
            const Stroke& edge = edges[i];
            Path p;
            p.rect(rects[i]);
            if (outlined) {
                compact.addRect(rects[i], fills[i], &edge);
                paths.fillStroke(std::move(p), fills[i], edge);
            } else {
                compact.addRect(rects[i], fills[i]);
                paths.fillPath(std::move(p), fills[i]);
            }
        }
        compact.add(ClipPop{});
        paths.add(ClipPop{});
        ASSERT_EQ(compact.rects.size(), outlined ? 2u : 3u); // the dashed one stays a path
        const auto a = pixelsOf(compact);
        const auto b = pixelsOf(paths);
        ASSERT_EQ(a.size(), b.size());
        EXPECT_TRUE(std::memcmp(a.data(), b.data(), a.size()) == 0) << "outlined " << outlined;
        // Something was drawn: the test would pass on two blank surfaces otherwise.
        Scene blank;
        blank.width = 60;
        blank.height = 40;
        EXPECT_NE(a, pixelsOf(blank)) << "outlined " << outlined;
    }
}

// A canvas that paints every shape whole, as vector outputs do: the picture to match.
class WholeShapes : public CairoCanvas {
public:
    using CairoCanvas::CairoCanvas;
    void shapeAround(const ShapeItem& item, const Rect&) override { shape(item); }
};

// The pixels of the scene painted at the scale given onto a surface that starts out magenta.
template <class C>
std::vector<std::uint32_t> paintedAt(const Scene& scene, double scale) {
    const int w = static_cast<int>(scene.width * scale), h = static_cast<int>(scene.height * scale);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 0, 1);
    cairo_paint(cr);
    cairo_scale(cr, scale, scale);
    TextEngine text;
    {
        C canvas(cr, text, scale);
        paintScene(scene, canvas);
    }
    cairo_surface_flush(surface);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface));
        pixels.insert(pixels.end(), row, row + w);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return pixels;
}

TEST(SceneBackground, IsLeftOutOnlyWhereAnOpaqueRectangleReplacesEveryPixel) {
    // The chart's background is not painted under the plot area's opaque rectangle, which
    // paints over all of it: the pixels stay those of painting everything, whatever the
    // rectangle's fractional edges, the scale, and what lies between the two.
    Scene scene;
    scene.width = 80;
    scene.height = 60;
    scene.background = rgb(0x336699);
    scene.fillPath(
        [] {
            Path p;
            p.rect({5, 5, 20, 20});
            return p;
        }(),
        withAlpha(rgb(0xFF8800), 50)); // half over the plot, translucent
    Path plot;
    plot.rect({10.3, 8.7, 55.45, 40.2});
    scene.fillStroke(std::move(plot), rgb(0xFFFFFF), {rgb(0x000000), 1});
    scene.line(0, 30, 80, 31.5, {rgb(0x00AA00), 1.5}); // across the plot and beyond it
    for (const double scale : {1.0, 1.5, 2.0}) {
        const std::vector<std::uint32_t> around = paintedAt<CairoCanvas>(scene, scale);
        EXPECT_TRUE(around == paintedAt<WholeShapes>(scene, scale)) << "scale " << scale;
    }

    // A translucent rectangle hides nothing: the background is painted whole under it.
    Scene translucent;
    translucent.width = 80;
    translucent.height = 60;
    translucent.background = rgb(0x336699);
    Path veil;
    veil.rect({10.3, 8.7, 55.45, 40.2});
    translucent.fillPath(std::move(veil), withAlpha(rgb(0xFFFFFF), 50));
    EXPECT_TRUE(paintedAt<CairoCanvas>(translucent, 1.5) ==
                paintedAt<WholeShapes>(translucent, 1.5));

    // The part left out is the covered one in whole device pixels, and nothing else: at 1.5
    // the rectangle 10.3 to 65.75 across and 8.7 to 48.9 down covers pixels 16 to 98 and 14 to
    // 73 (ends excluded), which a magenta surface keeps when the background alone is painted.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 120, 90);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 0, 1);
    cairo_paint(cr);
    cairo_scale(cr, 1.5, 1.5);
    TextEngine text;
    {
        CairoCanvas canvas(cr, text, 1.5);
        ShapeItem background;
        background.path.rect({0, 0, 80, 60});
        background.filled = true;
        background.fill = rgb(0x336699);
        canvas.shapeAround(background, {10.3, 8.7, 55.45, 40.2});
    }
    cairo_surface_flush(surface);
    int wrong = 0;
    for (int y = 0; y < 90; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface));
        for (int x = 0; x < 120; ++x) {
            const bool covered = x >= 16 && x < 98 && y >= 14 && y < 73;
            wrong += row[x] != (covered ? 0xFFFF00FFu : 0xFF336699u);
        }
    }
    EXPECT_EQ(wrong, 0);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

// Rectangles share the few looks they are drawn with; a copy of the scene keeps them when the
// original is gone, and a scene cleared for the next drawing forgets the old ones.
TEST(SceneRects, LooksAreSharedAndOutliveTheSceneTheyWereCopiedFrom) {
    const Stroke dark{rgb(0x202020), 0.8}, red{rgb(0xAA0000), 0.8}, wide{rgb(0x202020), 2};
    auto original = std::make_unique<Scene>();
    original->width = 60;
    original->height = 40;
    const Stroke* cycle[] = {&dark, &red, &wide, nullptr};
    for (int i = 0; i < 40; ++i)
        original->addRect({1.0 + i, 2.0 + (i % 7), 3, 20}, rgb(0x3366CC), cycle[i % 4]);
    EXPECT_EQ(original->rectLooks.size(), 4u) << "three outlines and none, one fill";
    // A look seen before, after others, is found again rather than added.
    original->addRect({50, 2, 3, 20}, rgb(0x3366CC), &dark);
    original->addRect({54, 2, 3, 20}, rgb(0x3366CC), &red);
    EXPECT_EQ(original->rectLooks.size(), 4u);
    original->addRect({58, 2, 3, 20}, rgb(0x3366CD), &red);
    EXPECT_EQ(original->rectLooks.size(), 5u) << "another fill is another look";
    std::vector<ShapeItem> before;
    original->forEachShape([&](const ShapeItem& s) { before.push_back(s); });
    const auto pixels = pixelsOf(*original);
    Scene copy = *original;
    original.reset();
    std::vector<ShapeItem> after;
    copy.forEachShape([&](const ShapeItem& s) { after.push_back(s); });
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].stroked, before[i].stroked) << i;
        EXPECT_EQ(after[i].stroke.color, before[i].stroke.color) << i;
        EXPECT_EQ(after[i].stroke.width, before[i].stroke.width) << i;
    }
    EXPECT_EQ(pixelsOf(copy), pixels);
    copy.rects.clear();
    copy.items.clear();
    copy.addRect({0, 0, 5, 5}, rgb(0xFF0000), &red);
    EXPECT_EQ(copy.rectLooks.size(), 1u);
}

// A copied path shares its segments until either copy changes; the change is the changed
// copy's alone, whatever edit makes it.
TEST(ScenePath, CopiesShareSegmentsUntilOneChanges) {
    struct Case {
        const char* edit;
        void (*apply)(Path&);
        std::size_t added;
    };
    static const std::vector<Point> triangle{{0, 0}, {4, 0}, {4, 4}};
    const Case cases[] = {
        {"moveTo", [](Path& p) { p.moveTo(7, 8); }, 1},
        {"lineTo", [](Path& p) { p.lineTo(7, 8); }, 1},
        {"arc", [](Path& p) { p.arc(5, 5, 2, 3, 0, 1); }, 1},
        {"arcNegative", [](Path& p) { p.arcNegative(5, 5, 2, 3, 1, 0); }, 1},
        {"close", [](Path& p) { p.close(); }, 1},
        {"rect", [](Path& p) { p.rect(Rect(1, 2, 3, 4)); }, 5},
        {"polygon", [](Path& p) { p.polygon(triangle); }, 4},
    };
    for (const Case& c : cases) {
        Path original;
        original.moveTo(1, 2);
        original.lineTo(3, 4);
        Path copy = original;
        EXPECT_TRUE(copy.shares(original)) << c.edit;
        EXPECT_EQ(&copy.segments(), &original.segments()) << c.edit << ": one set of segments";
        c.apply(copy);
        EXPECT_FALSE(copy.shares(original)) << c.edit;
        ASSERT_EQ(original.segments().size(), 2u) << c.edit << ": the original changed";
        EXPECT_EQ(original.segments()[1].op, PathOp::Line) << c.edit;
        EXPECT_EQ(original.segments()[1].x, 3) << c.edit;
        EXPECT_EQ(original.segments()[1].y, 4) << c.edit;
        ASSERT_EQ(copy.segments().size(), 2 + c.added) << c.edit;
        EXPECT_EQ(copy.segments()[1].x, 3) << c.edit;
        // Editing the original now leaves the changed copy alone too.
        original.close();
        EXPECT_EQ(copy.segments().size(), 2 + c.added) << c.edit;
    }
    // Empty paths hold nothing to share, and an edit of a copy of one stays the copy's.
    Path empty;
    Path emptyCopy = empty;
    EXPECT_FALSE(emptyCopy.shares(empty));
    emptyCopy.lineTo(1, 1);
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(empty.segments().empty());
    EXPECT_FALSE(emptyCopy.empty());
}

} // namespace
} // namespace plotara

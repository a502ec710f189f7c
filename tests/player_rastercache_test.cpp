// The raster cache: a reused surface is cleared again; a size that changed gets a new surface; a
// picture handed out without a copy keeps its pixels while held, and one painted over an old
// picture has a fresh one's pixels.
#include "player/draw/Output.h"
#include "player/draw/RasterCache.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace plotara {
namespace {

using player::PixelSize;
using player::RasterCache;

// Whether every pixel of the surface is transparent black.
bool allClear(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < cairo_image_surface_get_height(s); ++y)
        for (int x = 0; x < cairo_image_surface_get_width(s); ++x) {
            std::uint32_t p;
            std::memcpy(&p, data + static_cast<std::ptrdiff_t>(y) * stride + 4 * x, 4);
            if (p != 0) return false;
        }
    return true;
}

void paintRed(cairo_surface_t* s) {
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
}

TEST(RasterCache, ReusedSurfacesAreClearAndNewSizesGetTheirOwn) {
    RasterCache cache;
    cairo_surface_t* first = cache.surface(640, 480);
    ASSERT_EQ(cairo_surface_status(first), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(first), 640);
    EXPECT_EQ(cairo_image_surface_get_height(first), 480);
    EXPECT_TRUE(allClear(first));
    paintRed(first);
    // The same size again: the same memory, cleared.
    cairo_surface_t* again = cache.surface(640, 480);
    EXPECT_EQ(again, first);
    EXPECT_TRUE(allClear(again));
    paintRed(again);
    // Another size: a surface of that size, clear.
    cairo_surface_t* other = cache.surface(320, 240);
    EXPECT_EQ(cairo_image_surface_get_width(other), 320);
    EXPECT_EQ(cairo_image_surface_get_height(other), 240);
    EXPECT_TRUE(allClear(other));
}

bool samePixels(const player::SharedArgb& shown, const player::ArgbImage& fresh) {
    return shown.width == fresh.width && shown.height == fresh.height &&
           shown.stride == fresh.stride &&
           std::memcmp(shown.pixels, fresh.pixels.data(), fresh.pixels.size()) == 0;
}

TEST(RasterCache, SharedPicturesKeepTheirPixelsAndRepaintsLookFresh) {
    struct Case {
        double width, ratio;
        player::Color background;
    };
    // Opaque backgrounds that end on a pixel edge skip the clear; a background that ends inside
    // a pixel, or lets the old pixels through, must not.
    const Case cases[] = {{320, 1, player::rgb(0xFFFFFF)},
                          {320, 1.5, player::rgb(0x203040)},
                          {321, 1.25, player::rgb(0xFFFFFF)},
                          {320, 1, player::Color{1, 1, 1, 0.5}}};
    for (const Case& c : cases) {
        auto scene = [&c](double x) {
            player::Scene scene;
            scene.width = c.width;
            scene.height = 200;
            scene.background = c.background;
            scene.fillRect({x, 20, 60, 150}, player::rgb(0xE03030));
            scene.line(0, 0, c.width, 200, {player::rgb(0x2040FF), 2});
            return scene;
        };
        const player::Scene a = scene(20), b = scene(200);
        player::TextEngine text;
        const player::ArgbImage freshA = player::renderArgb(a, text, c.ratio);
        RasterCache cache;
        player::SharedArgb shownA = player::renderShared(a, text, c.ratio, cache);
        player::SharedArgb shownB = player::renderShared(b, text, c.ratio, cache);
        EXPECT_NE(shownA.pixels, shownB.pixels) << "a held picture is not painted over";
        EXPECT_TRUE(samePixels(shownA, freshA)) << c.width << " at " << c.ratio;
        const std::uint8_t* memoryB = shownB.pixels;
        shownA = {};
        shownB = {};
        const player::SharedArgb again = player::renderShared(a, text, c.ratio, cache);
        EXPECT_EQ(again.pixels, memoryB) << "a picture let go of gives its memory again";
        EXPECT_TRUE(samePixels(again, freshA)) << c.width << " at " << c.ratio;
        // Told opaque exactly when every pixel is.
        bool opaque = true;
        for (std::size_t at = 3; at < freshA.pixels.size(); at += 4)
            opaque = opaque && freshA.pixels[at] == 255;
        EXPECT_EQ(again.opaque, opaque) << c.width << " at " << c.ratio;
    }
}

TEST(RasterCache, PixelSizesRoundUpWithinLimits) {
    struct Case {
        double w, h, ratio;
        int pw, ph;
    };
    const Case cases[] = {
        {640, 480, 1, 640, 480},     {640, 480, 1.5, 960, 720}, {100.2, 50, 1, 101, 50},
        {640, 480, 100, 5120, 3840}, {0, -5, 1, 1, 1},          {1e9, 10, 1, 16384, 10},
    };
    for (const Case& c : cases) {
        const PixelSize s = player::pixelSize(c.w, c.h, c.ratio);
        EXPECT_EQ(s.width, c.pw) << c.w << " x " << c.h << " at " << c.ratio;
        EXPECT_EQ(s.height, c.ph) << c.w << " x " << c.h << " at " << c.ratio;
    }
}

} // namespace
} // namespace plotara

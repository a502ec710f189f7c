// A picture painted in two bands on two threads: the same pixels and the same PNG bytes as one
// paint, for every chart type's sample and at fractional pixel ratios; when a second thread is
// used; and the PNG written a band of rows at a time.
#include "player/ChartPlayer.h"
#include "player/draw/Output.h"
#include "player/draw/OutputBands.h"
#include "player/draw/PngEncoder.h"
#include "player_samples.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace plotara {
namespace {

using player::RasterBands;

// The first row whose bytes differ, -1 when the images are the same.
int firstDifferentRow(const player::ArgbImage& a, const player::ArgbImage& b) {
    if (a.width != b.width || a.height != b.height || a.stride != b.stride) return 0;
    for (int y = 0; y < a.height; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * a.stride;
        if (std::memcmp(a.pixels.data() + at, b.pixels.data() + at,
                        static_cast<std::size_t>(a.width) * 4) != 0)
            return y;
    }
    return -1;
}

TEST(RasterBands, EveryTypeIsPaintedTheSameInTwoBands) {
    // Sizes whose band edge falls on an odd row, and ratios that put it between chart units.
    const struct {
        int width, height;
        double ratio;
    } sizes[] = {{640, 480, 1}, {333, 251, 1.5}, {300, 200, 2.25}};
    for (int type = 1; type <= 37; ++type) {
        for (const auto& size : sizes) {
            SCOPED_TRACE(std::string(testing::sampleTypeNames[type]) + " " +
                         std::to_string(size.width) + " x " + std::to_string(size.height) + " at " +
                         std::to_string(size.ratio));
            ChartPlayer p;
            p.put_Movie(fromUtf8(
                testing::movieUrl(type, testing::sampleFor(type), size.width, size.height)));
            ASSERT_EQ(p.state(), PlayerState::Chart);
            player::TextEngine text;
            const auto one =
                player::renderArgb(p.scene(), text, size.ratio, nullptr, RasterBands::One);
            const auto two =
                player::renderArgb(p.scene(), text, size.ratio, nullptr, RasterBands::Two);
            ASSERT_GT(one.height, 1);
            EXPECT_EQ(firstDifferentRow(one, two), -1);
            if (size.ratio == 1) {
                EXPECT_EQ(player::renderPng(p.scene(), text, 1, nullptr, RasterBands::One),
                          player::renderPng(p.scene(), text, 1, nullptr, RasterBands::Two));
            }
        }
    }
}

// A scene transparent below an opaque upper half: the upper band alone looks opaque, the file
// must still keep the alpha channel of the lower one.
TEST(RasterBands, TranslucentLowerBandKeepsItsAlpha) {
    player::Scene scene;
    scene.width = 200;
    scene.height = 100;
    scene.background = {0, 0, 0, 0};
    player::ShapeItem upper;
    upper.path.rect({0, 0, 200, 50});
    upper.filled = true;
    upper.fill = {0.2, 0.4, 0.6, 1};
    scene.items.emplace_back(upper);
    player::TextEngine text;
    const std::string one = player::renderPng(scene, text, 1, nullptr, RasterBands::One);
    const std::string two = player::renderPng(scene, text, 1, nullptr, RasterBands::Two);
    ASSERT_GT(one.size(), 26u);
    EXPECT_EQ(static_cast<int>(one[25]), 6) << "RGBA";
    EXPECT_EQ(two, one);
    // Opaque everywhere: RGB, again the same file from both.
    scene.background = {1, 1, 1, 1};
    const std::string opaque = player::renderPng(scene, text, 1, nullptr, RasterBands::Two);
    EXPECT_EQ(static_cast<int>(opaque[25]), 2) << "RGB";
    EXPECT_EQ(opaque, player::renderPng(scene, text, 1, nullptr, RasterBands::One));
}

TEST(RasterBands, SecondThreadOnlyForALargePictureAndALonePaint) {
    player::RasterTarget target;
    unsigned char pixel[4];
    target.data = pixel;
    target.width = 640;
    target.height = 480;
    {
        const player::PaintInFlight flight;
        EXPECT_GT(player::bandSplit(target, RasterBands::Two, flight), 0);
        EXPECT_LT(player::bandSplit(target, RasterBands::Two, flight), 480);
        EXPECT_EQ(player::bandSplit(target, RasterBands::One, flight), 0);
        if (std::thread::hardware_concurrency() >= 2) {
            EXPECT_GT(player::bandSplit(target, RasterBands::Auto, flight), 0);
        }
        // Another paint running at the same time: one thread each.
        const player::PaintInFlight other;
        EXPECT_FALSE(other.alone());
        EXPECT_EQ(player::bandSplit(target, RasterBands::Auto, other), 0);
    }
    {
        const player::OneThreadPaint kept;
        const player::PaintInFlight flight;
        EXPECT_FALSE(flight.alone());
        EXPECT_EQ(player::bandSplit(target, RasterBands::Auto, flight), 0);
        EXPECT_GT(player::bandSplit(target, RasterBands::Two, flight), 0);
    }
    const player::PaintInFlight flight;
    target.width = 320;
    target.height = 240;
    EXPECT_EQ(player::bandSplit(target, RasterBands::Auto, flight), 0) << "a small picture";
    target.height = 1;
    EXPECT_EQ(player::bandSplit(target, RasterBands::Two, flight), 0) << "one row";
}

TEST(PngWriterTest, RowsGivenInBandsMakeTheSameFile) {
    constexpr int w = 37, h = 23;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = 0xFF000000u | static_cast<std::uint32_t>(x * 7 + y * 1000);
            std::memcpy(data + y * stride + 4 * x, &p, 4);
        }
    cairo_surface_mark_dirty(image);
    const std::string whole = player::encodePng(image);
    ASSERT_FALSE(whole.empty());
    EXPECT_TRUE(player::opaqueRows(data, w, h, stride));
    for (int split : {1, 10, 22}) {
        player::PngWriter writer(w, h, true);
        writer.addRows(data, split, stride);
        writer.addRows(data + split * stride, h - split, stride);
        EXPECT_EQ(writer.finish(), whole) << split;
    }
    player::PngWriter short_(w, h, true);
    short_.addRows(data, h - 1, stride);
    EXPECT_EQ(short_.finish(), "") << "a row missing";
    player::PngWriter empty(0, h, true);
    EXPECT_TRUE(empty.failed());
    EXPECT_EQ(empty.finish(), "");
    // A translucent pixel in the last row.
    data[(h - 1) * stride + 3] = 0x80;
    EXPECT_FALSE(player::opaqueRows(data, w, h, stride));
    EXPECT_TRUE(player::opaqueRows(data, w, h - 1, stride));
    cairo_surface_destroy(image);
}

} // namespace
} // namespace plotara

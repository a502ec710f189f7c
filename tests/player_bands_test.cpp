// A picture painted in two bands on two threads: the same pixels and the same PNG bytes as one
// paint, for every chart type's sample and at fractional pixel ratios; when a second thread is
// used; and the PNG written a band of rows at a time.
#include "player/ChartPlayer.h"
#include "player/draw/Output.h"
#include "player/draw/OutputBands.h"
#include "player/draw/PngBands.h"
#include "player/draw/PngEncoder.h"
#include "player_samples.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

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

// A picture of distinct pixels in every row, opaque or not.
cairo_surface_t* stripes(int w, int h, bool translucentLastRow) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t p = 0xFF000000u | static_cast<std::uint32_t>(x * 7 + y * 1000);
            if (translucentLastRow && y == h - 1) p = 0x80402000u;
            std::memcpy(data + y * stride + 4 * x, &p, 4);
        }
    cairo_surface_mark_dirty(image);
    return image;
}

// The pixels of a PNG file as cairo reads them back.
std::vector<std::uint32_t> decoded(const std::string& png) {
    struct Reader {
        const std::string* bytes;
        std::size_t at = 0;
    } reader{&png};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            auto* r = static_cast<Reader*>(closure);
            if (r->at + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
            std::memcpy(data, r->bytes->data() + r->at, length);
            r->at += length;
            return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    std::vector<std::uint32_t> out;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
        out.resize(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            std::memcpy(out.data() + static_cast<std::size_t>(y) * w,
                        cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s),
                        static_cast<std::size_t>(w) * 4);
    }
    cairo_surface_destroy(s);
    return out;
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
                // The same file whichever thread compressed which band.
                const std::string png =
                    player::renderPng(p.scene(), text, 1, nullptr, RasterBands::Two);
                EXPECT_EQ(png, player::renderPng(p.scene(), text, 1, nullptr, RasterBands::One));
                EXPECT_EQ(decoded(png).size(), 640u * 480u);
            }
        }
    }
}

// Long lines (stroked in pieces, which a band skips when they cannot reach its rows) and texts
// of every alignment and size around the band edge, where a wrong estimate of their reach would
// leave a strip unpainted.
TEST(RasterBands, LinesAndTextsAcrossTheBandEdgeAreWhole) {
    player::Scene scene;
    scene.width = 640;
    scene.height = 480;
    const double widths[] = {0.5, 1, 2.5, 6, 12};
    for (int line = 0; line < 5; ++line) {
        player::ShapeItem item;
        item.stroked = true;
        item.stroke.width = widths[line];
        item.stroke.color = {0.1 * line, 0.3, 0.8, 1};
        // 1,000 points that cross and run along the middle rows, a few pixels apart.
        for (int i = 0; i < 1000; ++i) {
            const double x = 10 + i * 0.62, y = 240 + (i % 97 - 48) * 0.9 + line * 3.3 - 5;
            if (i == 0) {
                item.path.moveTo(x, y);
            } else {
                item.path.lineTo(x, y);
            }
        }
        scene.items.emplace_back(std::move(item));
    }
    const player::VAlign aligns[] = {player::VAlign::Top, player::VAlign::Middle,
                                     player::VAlign::Bottom};
    for (int i = 0; i < 30; ++i) {
        player::TextItem text;
        text.text = i % 5 == 0 ? "Ågyp ÉQ 汉字 ✓" : "Ågyp jÉQ|";
        text.font.size = 6 + i * 1.7;
        text.font.italic = i % 2 == 1;
        text.font.underline = i % 3 == 0;
        text.x = 20 * i;
        text.y = 200 + i * 2.9;
        text.v = aligns[i % 3];
        text.angle = i % 7 == 6 ? -45 : 0;
        scene.items.emplace_back(std::move(text));
    }
    player::TextEngine text;
    for (double ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE(ratio);
        const auto one = player::renderArgb(scene, text, ratio, nullptr, RasterBands::One);
        const auto two = player::renderArgb(scene, text, ratio, nullptr, RasterBands::Two);
        EXPECT_EQ(firstDifferentRow(one, two), -1);
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
    EXPECT_EQ(static_cast<int>(two.at(25)), 6) << "RGBA";
    EXPECT_EQ(two, one);
    // Opaque everywhere: RGB from both.
    scene.background = {1, 1, 1, 1};
    const std::string opaque = player::renderPng(scene, text, 1, nullptr, RasterBands::Two);
    EXPECT_EQ(static_cast<int>(opaque.at(25)), 2) << "RGB";
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
        // Alone, it depends on whether the machine has a core to spare at the moment.
        const int automatic = player::bandSplit(target, RasterBands::Auto, flight);
        EXPECT_TRUE(automatic == 0 || automatic == 240) << automatic;
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

TEST(PngBandsTest, BandsReadBackAsTheOnePassFile) {
    constexpr int w = 37, h = 23;
    for (bool translucent : {false, true}) {
        SCOPED_TRACE(translucent ? "RGBA" : "RGB");
        cairo_surface_t* image = stripes(w, h, translucent);
        const unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        const std::vector<std::uint32_t> want = decoded(player::encodePng(image));
        ASSERT_EQ(want.size(), static_cast<std::size_t>(w * h));
        EXPECT_EQ(player::opaqueRows(data, w, h, stride), !translucent);
        EXPECT_TRUE(player::opaqueRows(data, w, h - 1, stride));
        // One band, two, and three of which the middle one is a single row.
        const std::vector<std::vector<int>> splits = {{h}, {11, 12}, {10, 1, 12}};
        for (const std::vector<int>& split : splits) {
            std::vector<player::PngBand> bands;
            int row = 0;
            for (std::size_t i = 0; i < split.size(); ++i) {
                bands.push_back(player::deflateBand(data + row * stride, w, split[i], stride,
                                                    !translucent, i + 1 == split.size()));
                row += split[i];
            }
            const std::string png = player::assemblePng(w, h, bands);
            EXPECT_EQ(static_cast<int>(png.at(25)), translucent ? 6 : 2) << "colour type";
            EXPECT_EQ(decoded(png), want) << split.size() << " bands";
        }
        cairo_surface_destroy(image);
    }
}

TEST(PngBandsTest, NoFileFromBandsThatDoNotMakeOnePicture) {
    constexpr int w = 16, h = 8;
    cairo_surface_t* image = stripes(w, h, false);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    auto band = [&](int first, int rows, bool opaque, bool last) {
        return player::deflateBand(data + first * stride, w, rows, stride, opaque, last);
    };
    EXPECT_FALSE(
        player::assemblePng(w, h, {band(0, 4, true, false), band(4, 4, true, true)}).empty());
    EXPECT_EQ(player::assemblePng(w, h, {band(0, 4, true, false), band(4, 3, true, true)}), "")
        << "a row missing";
    EXPECT_EQ(player::assemblePng(w, h, {band(0, 4, true, false), band(4, 4, false, true)}), "")
        << "RGB and RGBA";
    player::PngBand failed = band(4, 4, true, true);
    failed.ok = false;
    EXPECT_EQ(player::assemblePng(w, h, {band(0, 4, true, false), failed}), "");
    EXPECT_EQ(player::assemblePng(w, h, {}), "");
    cairo_surface_destroy(image);
}

} // namespace
} // namespace plotara

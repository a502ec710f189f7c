// Golden pictures of every chart type's sample at a small size, with the same tolerance as the
// family goldens: only anti-aliasing noise may differ. PLOTARA_UPDATE_GOLDEN=1 rewrites them.
#include "player/ChartPlayer.h"
#include "player_samples.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace plotara {
namespace {

constexpr const char* typeNames[] = {"column3d",
                                     "column2d",
                                     "pie3d",
                                     "pie2d",
                                     "doughnut3d",
                                     "doughnut2d",
                                     "line2d",
                                     "area2d",
                                     "bar2d",
                                     "mscolumn3d",
                                     "mscolumn2d",
                                     "msline2d",
                                     "msarea2d",
                                     "msbar3d",
                                     "msbar2d",
                                     "stackedcolumn3d",
                                     "stackedcolumn2d",
                                     "stackedarea2d",
                                     "stackedbar3d",
                                     "stackedbar2d",
                                     "mscombi2d",
                                     "mscombi3d",
                                     "mscombidy2d",
                                     "mscolumn3dline",
                                     "mscolumn3dlinedy",
                                     "msstackedcolumn2d",
                                     "msstackedcolumn2dlinedy",
                                     "stackedcolumn3dlinedy",
                                     "scatter",
                                     "bubble",
                                     "scrollcolumn2d",
                                     "scrollline2d",
                                     "scrollarea2d",
                                     "scrollstackedcolumn2d",
                                     "scrollcombi2d",
                                     "scrollcombidy2d",
                                     "grid"};

// Pixels whose worst channel differs by more than 48 of 255.
long differingPixels(const player::ArgbImage& img, cairo_surface_t* ref) {
    cairo_surface_flush(ref);
    const unsigned char* pixels = cairo_image_surface_get_data(ref);
    int stride = cairo_image_surface_get_stride(ref);
    long differing = 0;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            std::uint32_t a = img.pixel(x, y), b;
            std::memcpy(&b, pixels + y * stride + x * 4, 4);
            int worst = 0;
            for (int s = 0; s < 32; s += 8)
                worst = std::max(worst, std::abs(static_cast<int>((a >> s) & 0xFF) -
                                                 static_cast<int>((b >> s) & 0xFF)));
            differing += worst > 48;
        }
    }
    return differing;
}

class EveryTypeGolden : public ::testing::TestWithParam<int> {};

TEST_P(EveryTypeGolden, MatchesTheReferencePicture) {
    int type = GetParam();
    char file[64];
    std::snprintf(file, sizeof file, "%02d-%s-320x240.png", type, typeNames[type - 1]);
    std::string golden = std::string(PLOTARA_TEST_DATA) + "/player/types/" + file;
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(type, testing::sampleFor(type), 320, 240)));
    ASSERT_EQ(p.state(), PlayerState::Chart) << file;
    if (std::getenv("PLOTARA_UPDATE_GOLDEN")) {
        ASSERT_TRUE(p.savePng(golden));
    }
    cairo_surface_t* ref = cairo_image_surface_create_from_png(golden.c_str());
    ASSERT_EQ(cairo_surface_status(ref), CAIRO_STATUS_SUCCESS) << golden;
    auto img = p.surface(1);
    ASSERT_EQ(cairo_image_surface_get_width(ref), img.width);
    ASSERT_EQ(cairo_image_surface_get_height(ref), img.height);
    long differing = differingPixels(img, ref);
    cairo_surface_destroy(ref);
    EXPECT_LT(differing, img.width * img.height / 200)
        << file << ": more than 0.5% of the pixels differ";
}

INSTANTIATE_TEST_SUITE_P(AllTypes, EveryTypeGolden, ::testing::Range(1, 38));

} // namespace
} // namespace plotara

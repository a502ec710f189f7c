// Golden pictures of every chart type's sample at a small size, with the same tolerance as the
// family goldens: only anti-aliasing noise may differ. PLOTARA_UPDATE_GOLDEN=1 rewrites them.
#include "player/ChartPlayer.h"
#include "player_pixels.h"
#include "player_samples.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace plotara {
namespace {

class EveryTypeGolden : public ::testing::TestWithParam<int> {};

TEST_P(EveryTypeGolden, MatchesTheReferencePicture) {
    int type = GetParam();
    char file[64];
    std::snprintf(file, sizeof file, "%02d-%s-320x240.png", type, testing::sampleTypeNames[type]);
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
    long differing = testing::differingPixels(img, ref);
    cairo_surface_destroy(ref);
    EXPECT_LT(differing, img.width * img.height / 200)
        << file << ": more than 0.5% of the pixels differ";
}

INSTANTIATE_TEST_SUITE_P(AllTypes, EveryTypeGolden, ::testing::Range(1, 38));

} // namespace
} // namespace plotara

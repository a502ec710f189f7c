// Golden pictures of every chart type's sample at a small size, with a tolerance: the fonts are
// the pinned DejaVu fonts, so only anti-aliasing noise may differ between machines.
// PLOTARA_UPDATE_GOLDEN=1 rewrites them.
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
    std::snprintf(file, sizeof file, "%02d-%s-320x240.png", type,
                  testing::sampleTypeNames[type].c_str());
    std::string golden = std::string(PLOTARA_TEST_DATA) + "/player/types/" + file;
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(type, testing::sampleFor(type), 320, 240)));
    ASSERT_EQ(p.state(), PlayerState::Chart) << file;
    testing::expectMatchesGolden(p, golden);
    // The same chart comes out in the other formats too.
    EXPECT_TRUE(p.svg().ends_with("</svg>\n")) << file;
    EXPECT_TRUE(p.pdf().starts_with("%PDF-")) << file;
}

INSTANTIATE_TEST_SUITE_P(AllTypes, EveryTypeGolden, ::testing::Range(1, 38));

} // namespace
} // namespace plotara

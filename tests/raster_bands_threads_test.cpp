// Pictures painted in two bands, also from two threads at once, so that ThreadSanitizer sees the
// band threads share the scene and the text engine (built with the batch threads' program).
#include "player/ChartPlayer.h"
#include "player/draw/Output.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <thread>

namespace plotara {
namespace {

using player::RasterBands;

// Plays a sample with many texts (categories, values, legends) and paints it both ways.
void expectBandsPaintTheSame(int type) {
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(type, testing::sampleFor(type), 640, 480)));
    ASSERT_EQ(p.state(), PlayerState::Chart);
    player::TextEngine text; // no face opened yet: both bands open them at once
    EXPECT_FALSE(player::renderPng(p.scene(), text, 1, nullptr, RasterBands::Two).empty());
    const auto two = player::renderArgb(p.scene(), text, 1, nullptr, RasterBands::Two);
    const auto one = player::renderArgb(p.scene(), text, 1, nullptr, RasterBands::One);
    EXPECT_TRUE(two.pixels == one.pixels) << testing::sampleTypeNames[type];
}

TEST(RasterBandsThreads, BandedPaintsOnTwoThreadsAtOnce) {
    // Column, pie, line, scatter, bubble and the dual-axis combination.
    std::jthread first([] {
        for (int type : {2, 4, 12})
            expectBandsPaintTheSame(type);
    });
    std::jthread second([] {
        for (int type : {29, 30, 23})
            expectBandsPaintTheSame(type);
    });
}

} // namespace
} // namespace plotara

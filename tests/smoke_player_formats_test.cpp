// Every sample document of the catalogue, played through its chart movie and written in every
// output format. With PLOTARA_GALLERY_DIR set, the PNGs are kept there (docs/gallery).
#include "player/ChartPlayer.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace plotara {
namespace {

class SampleTest : public ::testing::TestWithParam<int> {};

TEST_P(SampleTest, DrawsInEveryFormat) {
    int type = GetParam();
    ChartPlayer player;
    std::vector<String> calls;
    player.onFlashCall([&](const String& r) { calls.push_back(r); });
    player.put_Movie(fromUtf8(testing::movieUrl(type, testing::sampleFor(type), 480, 320)));
    ASSERT_EQ(player.state(), PlayerState::Chart) << toUtf8(player.messageText());
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[0].find(L"name=\"PT_Loaded\""), String::npos);
    EXPECT_NE(calls[1].find(L"name=\"PT_Rendered\""), String::npos);
    EXPECT_GE(player.scene().hits.size() + player.scene().pointHits.size(), 4u)
        << "every sample has at least four data points";

    std::string png = player.png();
    ASSERT_GT(png.size(), 1000u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    std::string svg = player.svg();
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    std::string pdf = player.pdf();
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    auto image = player.surface(2);
    EXPECT_EQ(image.width, 960);
    EXPECT_EQ(image.height, 640);

    if (const char* dir = std::getenv("PLOTARA_GALLERY_DIR")) {
        char name[96];
        std::snprintf(name, sizeof name, "%s/%02d-%s.png", dir, type,
                      testing::sampleTypeNames[type]);
        EXPECT_TRUE(player.savePng(name));
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, SampleTest, ::testing::Range(1, 38),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(testing::sampleTypeNames[info.param]);
                         });

} // namespace
} // namespace plotara

// A quick smoke test: every sample document of the catalogue plays through its chart movie and
// comes out in every output format, as a picture of the size asked for that is not blank. What
// each chart looks like is for the golden pictures (player_golden_test.cpp). With
// PLOTARA_GALLERY_DIR set, the PNGs are kept there (docs/gallery).
#include "player/ChartPlayer.h"
#include "player_samples.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace plotara {
namespace {

// How many pixels differ from the top-left one, the background.
long pixelsOffBackground(const player::ArgbImage& image) {
    const std::uint32_t background = image.pixel(0, 0);
    long off = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            off += image.pixel(x, y) != background;
    return off;
}

// The size of a PNG as cairo decodes it, {0, 0} when it does not decode.
std::pair<int, int> pngSize(const std::string& png) {
    std::size_t at = 0;
    auto read = [&](unsigned char* data, unsigned int length) {
        if (png.size() - at < length) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(data, png.data() + at, length);
        at += length;
        return CAIRO_STATUS_SUCCESS;
    };
    using Read = decltype(read);
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            return (*static_cast<Read*>(closure))(data, length);
        },
        &read);
    std::pair<int, int> size{0, 0};
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
        size = {cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
    cairo_surface_destroy(surface);
    return size;
}

class SmokeEveryType : public ::testing::TestWithParam<int> {};

TEST_P(SmokeEveryType, PlaysAndWritesEveryFormat) {
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

    const std::string png = player.png();
    EXPECT_EQ(pngSize(png), std::make_pair(480, 320));
    std::string svg = player.svg();
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    std::string pdf = player.pdf();
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    const auto image = player.surface(2);
    EXPECT_EQ(image.width, 960);
    EXPECT_EQ(image.height, 640);
    // Not blank: a sample's plot, legend and labels cover well over a twentieth of the picture.
    EXPECT_GT(pixelsOffBackground(image), 960L * 640 / 20);

    if (const char* dir = std::getenv("PLOTARA_GALLERY_DIR")) {
        char name[96];
        std::snprintf(name, sizeof name, "%s/%02d-%s.png", dir, type,
                      testing::sampleTypeNames[type]);
        EXPECT_TRUE(player.savePng(name));
    }
}

INSTANTIATE_TEST_SUITE_P(Smoke, SmokeEveryType, ::testing::Range(1, 38),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(testing::sampleTypeNames[info.param]);
                         });

} // namespace
} // namespace plotara

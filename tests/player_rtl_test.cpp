// Right-to-left text is placed like any other: its ink sits where the anchor and alignment say,
// with or without a width to fit, for Hebrew, Arabic and, as the reference, Latin labels.
#include "player/draw/TextEngine.h"

#include <cairo.h>
#include <gtest/gtest.h>

namespace plotara::player {
namespace {

// The leftmost and rightmost columns with ink, or {-1, -1} on a blank surface.
std::pair<int, int> inkColumns(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (data[y * stride + x * 4 + 3] > 64) { // alpha of an ARGB32 pixel
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST(PlayerRtl, LabelsOfEveryDirectionSitWhereTheirAnchorSays) {
    TextEngine engine;
    const char* texts[] = {"Latin", "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA",
                           "\xD8\xA7\xD9\x84\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A\xD8\xA9"};
    for (const char* text : texts) {
        for (const double maxWidth : {0.0, 180.0}) {
            for (const HAlign align : {HAlign::Left, HAlign::Center, HAlign::Right}) {
                SCOPED_TRACE(std::string(text) + " width " + std::to_string(maxWidth) + " align " +
                             std::to_string(static_cast<int>(align)));
                cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 300, 40);
                cairo_t* cr = cairo_create(surface);
                TextItem item;
                item.text = text;
                item.font.size = 16;
                item.x = 150;
                item.y = 20;
                item.h = align;
                item.v = VAlign::Middle;
                item.maxWidth = maxWidth;
                engine.draw(cr, item);
                const auto [first, last] = inkColumns(surface);
                ASSERT_GE(first, 0);
                const double expected = align == HAlign::Left    ? first - 150.0
                                        : align == HAlign::Right ? last - 150.0
                                                                 : (first + last) / 2.0 - 150.0;
                EXPECT_NEAR(expected, 0, 4) << first << ".." << last;
                cairo_destroy(cr);
                cairo_surface_destroy(surface);
            }
        }
    }
}

} // namespace
} // namespace plotara::player

// Comparing a drawn picture with a golden PNG, shared by the golden-picture tests.
#pragma once

#include "player/ChartPlayer.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace plotara::testing {

// The strongest channel of a pixel, 'r', 'g' or 'b', when it leads the others by 60 levels;
// '-' when none does.
inline char dominantChannel(std::uint32_t argb) {
    const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    if (r > g + 60 && r > b + 60) return 'r';
    if (g > r + 60 && g > b + 60) return 'g';
    if (b > r + 60 && b > g + 60) return 'b';
    return '-';
}

// Pixels whose worst channel differs by more than 48 of 255: anti-aliasing noise stays below.
inline long differingPixels(const player::ArgbImage& img, cairo_surface_t* ref) {
    cairo_surface_flush(ref);
    const unsigned char* pixels = cairo_image_surface_get_data(ref);
    const int stride = cairo_image_surface_get_stride(ref);
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

// Expects the player's picture at pixel ratio 1 to match the golden PNG but for anti-aliasing
// noise: the same size, and fewer than 0.5% of the pixels differing. PLOTARA_UPDATE_GOLDEN=1
// rewrites the golden file from the picture first.
inline void expectMatchesGolden(const ChartPlayer& player, const std::string& golden) {
    if (std::getenv("PLOTARA_UPDATE_GOLDEN")) {
        ASSERT_TRUE(player.savePng(golden));
    }
    cairo_surface_t* ref = cairo_image_surface_create_from_png(golden.c_str());
    const auto img = player.surface(1);
    if (cairo_surface_status(ref) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_width(ref) != img.width ||
        cairo_image_surface_get_height(ref) != img.height) {
        ADD_FAILURE() << golden << " cannot be read or is not " << img.width << " x " << img.height;
        cairo_surface_destroy(ref);
        return;
    }
    const long differing = differingPixels(img, ref);
    cairo_surface_destroy(ref);
    EXPECT_LT(differing, img.width * img.height / 200)
        << golden << ": more than 0.5% of the pixels differ";
}

} // namespace plotara::testing

// Comparing a drawn picture with a golden PNG, shared by the golden-picture tests.
#pragma once

#include "player/ChartPlayer.h"

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace plotara::testing {

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

} // namespace plotara::testing

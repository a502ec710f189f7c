#include "player/draw/PngEncoder.h"

#include "player/draw/PngBands.h"

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace plotara::player {

namespace {
// Whether every pixel of the row is opaque; one AND over the row, which the compiler vectorises.
bool rowOpaque(const std::uint32_t* src, int w) {
    std::uint32_t all = 0xFFFFFFFF;
    for (int x = 0; x < w; ++x)
        all &= src[x];
    return (all >> 24) == 0xFF;
}

// An opaque row of premultiplied ARGB as RGB bytes.
void rgbRow(const std::uint32_t* src, int w, unsigned char* dst) {
    for (int x = 0; x < w; ++x, dst += 3) {
        const std::uint32_t p = src[x];
        dst[0] = static_cast<unsigned char>(p >> 16);
        dst[1] = static_cast<unsigned char>(p >> 8);
        dst[2] = static_cast<unsigned char>(p);
    }
}

// A row of premultiplied ARGB as straight RGBA bytes.
void rgbaRow(const std::uint32_t* src, int w, unsigned char* dst) {
    for (int x = 0; x < w; ++x, dst += 4) {
        const std::uint32_t p = src[x];
        unsigned a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (a != 0 && a != 255) {
            r = (r * 255 + a / 2) / a;
            g = (g * 255 + a / 2) / a;
            b = (b * 255 + a / 2) / a;
        }
        dst[0] = static_cast<unsigned char>(r);
        dst[1] = static_cast<unsigned char>(g);
        dst[2] = static_cast<unsigned char>(b);
        dst[3] = static_cast<unsigned char>(a);
    }
}
} // namespace

bool opaqueRows(const unsigned char* data, int width, int rows, int stride) {
    for (int y = 0; y < rows; ++y) {
        if (!rowOpaque(reinterpret_cast<const std::uint32_t*>(data + y * stride), width))
            return false;
    }
    return true;
}

void pngRow(const std::uint32_t* src, int width, bool opaque, unsigned char* dst) {
    if (opaque) {
        rgbRow(src, width, dst);
    } else {
        rgbaRow(src, width, dst);
    }
}

int pngBandSplit(int height) {
    return height / 2;
}

std::string encodePixels(const unsigned char* data, int width, int height, int stride) {
    if (!data || width <= 0 || height <= 0) return {};
    // Charts usually cover their whole picture: then the alpha channel is left out (a quarter
    // less to compress).
    const bool opaque = opaqueRows(data, width, height, stride);
    const int split = pngBandSplit(height);
    std::vector<PngBand> bands;
    if (split > 0) bands.push_back(deflateBand(data, width, split, stride, opaque, false));
    bands.push_back(deflateBand(data + static_cast<std::ptrdiff_t>(split) * stride, width,
                                height - split, stride, opaque, true));
    return assemblePng(width, height, bands);
}

std::string encodePng(cairo_surface_t* image) {
    cairo_surface_flush(image);
    return encodePixels(cairo_image_surface_get_data(image), cairo_image_surface_get_width(image),
                        cairo_image_surface_get_height(image),
                        cairo_image_surface_get_stride(image));
}

} // namespace plotara::player

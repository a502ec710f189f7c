// PNG encoding tuned for charts: fast compression (large flat areas compress well anyway).
#pragma once

#include <cstdint>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace plotara::player {

// Encodes an ARGB32 image surface as PNG (RGB when every pixel is opaque, else RGBA,
// un-premultiplied); "" when zlib fails or the image has no pixels. The image data is compressed
// in two bands split at pngBandSplit, so that two threads can write the same file (PngBands.h).
// Never throws but for out of memory.
std::string encodePng(cairo_surface_t* image);
// The same for premultiplied ARGB32 pixels, rows `stride` bytes apart.
std::string encodePixels(const unsigned char* data, int width, int height, int stride);
// The first row of a PNG's second band (0: one band). Cannot fail.
int pngBandSplit(int height);

// Whether every pixel of `rows` rows of premultiplied ARGB32 (`stride` bytes apart) is opaque.
// Cannot fail.
bool opaqueRows(const unsigned char* data, int width, int rows, int stride);

// One row of premultiplied ARGB32 as PNG pixels: RGB bytes when opaque (the alpha dropped), else
// straight RGBA. dst holds 3 or 4 bytes a pixel. Cannot fail.
void pngRow(const std::uint32_t* src, int width, bool opaque, unsigned char* dst);

} // namespace plotara::player

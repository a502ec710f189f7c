// The outputs of one Scene: an ARGB surface at any device pixel ratio, and PNG, SVG and PDF.
#pragma once

#include "player/draw/RasterCache.h"
#include "player/draw/Scene.h"
#include "player/draw/SvgTextMode.h"
#include "player/draw/TextEngine.h"

#include <cstdint>
#include <memory>

typedef struct _cairo_surface cairo_surface_t;
#include <string>
#include <vector>

namespace plotara::player {

// Premultiplied 32-bit ARGB pixels in native byte order, rows `stride` bytes apart.
struct ArgbImage {
    int width = 0, height = 0, stride = 0;
    std::vector<std::uint8_t> pixels;
    // One pixel as 0xAARRGGBB (premultiplied); 0 outside the image.
    std::uint32_t pixel(int x, int y) const;
};

// Painted pixels shared rather than copied (premultiplied ARGB as above): they stay as they are
// while `hold`, or a copy of it, lives. `opaque`: every pixel's alpha is 255 (an opaque
// background covers the picture), so a host may blit the pixels instead of blending them.
struct SharedArgb {
    int width = 0, height = 0, stride = 0;
    bool opaque = false;
    const std::uint8_t* pixels = nullptr;
    std::shared_ptr<const void> hold;
};

// Paints the scene at the device pixel ratio (clamped to 0.25..8; the pixel size is the scene
// size times the ratio, rounded up, at most maxPictureSide a side). paintThreads (1 or 2) is how
// many threads may paint: long lines are stroked by two where that pays; the pixels are the same
// either way. Cannot fail; an empty scene gives an empty image.
ArgbImage renderArgb(const Scene& scene, TextEngine& text, double pixelRatio = 1,
                     RasterCache* cache = nullptr, int paintThreads = 2);
// The same picture in the cache's own surface, handed out without a copy: the cache paints the
// next picture into that memory again once every hold on this one is gone, else into new memory.
// Cannot fail; an empty scene or a failed surface gives an empty picture (no pixels).
SharedArgb renderShared(const Scene& scene, TextEngine& text, double pixelRatio, RasterCache& cache,
                        int paintThreads = 2);
// The PNG file bytes at the device pixel ratio; "" when cairo cannot encode.
std::string renderPng(const Scene& scene, TextEngine& text, double pixelRatio = 1,
                      RasterCache* cache = nullptr, int paintThreads = 2);
// The SVG document (pixel units). Text mode is written directly from the scene and cannot fail;
// paths mode goes through cairo's SVG surface and is "" when cairo cannot write it.
std::string renderSvg(const Scene& scene, TextEngine& text, SvgTextMode mode = SvgTextMode::Text);
// The PDF document (one page, 1 point per chart pixel); "" when cairo cannot write it.
std::string renderPdf(const Scene& scene, TextEngine& text);

} // namespace plotara::player

// Lines far denser than the pixels they cross (several points a device pixel column), drawn on
// raster targets as one vertical span a sub-column instead of by cairo's stroker.
#pragma once

#include "player/draw/Color.h"
#include "player/draw/Geometry.h"

#include <cstddef>
#include <cstdint>

namespace plotara::player {

// 32-bit pixels, premultiplied alpha in the top byte (cairo's ARGB32; RGB24 when opaque).
struct PixelView {
    std::uint8_t* data = nullptr;
    int width = 0, height = 0, stride = 0;
    bool opaque = false; // RGB24: the top byte is ignored and written as 0xFF
};

// Whether a run of n device-space points (n - 1 segments) is dense enough to draw as spans:
// x never decreases and there are at least two segments for every device pixel the run spans.
// Cannot fail.
bool isDenseRun(const Point* points, std::size_t n);

// Draws the run of n device-space points (x never decreasing) as a solid line of the given
// device width with round joins and butt ends, cut to clip (device pixels), blended over the
// pixels in color. Each pixel column is sampled at four x positions; at each the line covers one
// interval of y (the run is x-monotone and connected), whose overlap with a pixel's rows counts
// exactly. Does nothing for fewer than two points. Cannot fail.
void fillDenseRun(const PixelView& pixels, const Point* points, std::size_t n, double width,
                  const Rect& clip, Color color);

} // namespace plotara::player

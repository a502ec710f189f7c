// What paints a window's client area: the movie host today, the chart player later. Screen
// capture without a display server asks it for the pixels of a rectangle instead of reading a
// screen.
#pragma once

#include "core/String.h"

#include <cstdint>

namespace plotara {

class WindowPainter {
public:
    virtual ~WindowPainter() = default;
    // Paints the client-area rectangle whose top-left corner is (left, top), in pixels, into
    // argb: width x height pixels 0xAARRGGBB, rows top to bottom, no padding (the caller
    // provides width * height elements, width and height at least 1). Alpha is ignored: a window
    // on screen is opaque. Parts of the rectangle outside what the painter draws get its
    // background colour. An Error when the painter cannot paint at all.
    virtual void paintClientArea(Long left, Long top, Long width, Long height,
                                 std::uint32_t* argb) const = 0;
};

} // namespace plotara

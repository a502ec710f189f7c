// PNG encoding tuned for charts: the picture's rows go straight into one zlib stream that looks
// for the repeats charts are made of (player/detail/PngDeflate.h).
#pragma once

#include "player/draw/HelperThread.h"

#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace plotara::player {

// Encodes an ARGB32 image surface as PNG (RGB when every pixel is opaque, otherwise straight
// RGBA); "" for an image without pixels. With a helper that has been started, a large picture's
// bottom half is compressed on it at the same time: the same pixels, a slightly different (and as
// valid) stream. Throws std::bad_alloc when memory runs out.
std::string encodePng(cairo_surface_t* image, HelperThread* helper = nullptr);

} // namespace plotara::player

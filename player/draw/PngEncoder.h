// PNG encoding tuned for charts: the picture's rows go straight into one zlib stream that looks
// for the repeats charts are made of (player/detail/PngDeflate.h).
#pragma once

#include "player/draw/HelperThread.h"

#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace plotara::player {

// Encodes an ARGB32 image surface as PNG (RGB when every pixel is opaque, otherwise straight
// RGBA); "" for an image without pixels. A large picture's two halves are compressed apart, the
// bottom one on the helper, when it has been started, at the same time: the file is the same
// either way. Throws std::bad_alloc when memory runs out.
std::string encodePng(cairo_surface_t* image, HelperThread* helper = nullptr);

} // namespace plotara::player

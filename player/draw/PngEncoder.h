// PNG encoding tuned for charts: fast compression (large flat areas compress well anyway).
#pragma once

#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace plotara::player {

// Encodes an ARGB32 image surface as PNG (RGBA, un-premultiplied); "" when libpng fails.
// Never throws.
std::string encodePng(cairo_surface_t* image);

} // namespace plotara::player

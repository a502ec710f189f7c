// A 24-bit BMP encoder for the player's ARGB pictures. The command line keeps its own until the
// control's Picture writer is shared.
#pragma once

#include "player/draw/Output.h"

#include <string>

namespace plotara::apps {

// The BMP file bytes of the picture: BITMAPINFOHEADER, 24 bits a pixel, rows bottom-up and
// padded to four bytes, translucent pixels laid over white. pixelsPerMetre is written as the
// resolution. An empty picture gives a valid 0 x 0 file. Cannot fail beyond allocation.
std::string encodeBmp(const player::ArgbImage& image, int pixelsPerMetre = 3780);

} // namespace plotara::apps

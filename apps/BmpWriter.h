// The 24-bit BMP of a player picture laid over white, written row by row: the file format of
// the control's Picture (bottom-up rows padded to four bytes, 96 dots per inch), without
// building the whole file in memory first.
#pragma once

#include "player/draw/Output.h"

#include <functional>
#include <string_view>

namespace plotara::apps {

// Hands the file to sink in pieces: the 54-byte header, then one row at a time from the bottom
// row up. Nothing for an empty image. Raises only what sink raises.
void writeBmp(const player::ArgbImage& image, const std::function<void(std::string_view)>& sink);

} // namespace plotara::apps

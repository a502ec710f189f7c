// The two headers that open an uncompressed BMP file (the 14-byte file header and the 40-byte
// information header), as the control's Picture and the command line write them: rows bottom
// to top, each padded to four bytes, 96 dots per inch.
#pragma once

#include <cstdint>
#include <string>

namespace plotara::bmp {

// The bytes one row of width pixels takes at bitsPerPixel (8 or 24), padded to four. Cannot fail.
std::uint32_t rowBytes(std::uint32_t width, std::uint32_t bitsPerPixel);

// Appends the 54 header bytes of a width x height picture at bitsPerPixel whose pixels follow a
// colour table of paletteSize entries (none for 24 bits). Cannot fail beyond std::bad_alloc.
void appendHeaders(std::string& out, std::uint32_t width, std::uint32_t height,
                   std::uint16_t bitsPerPixel, std::uint32_t paletteSize = 0);

} // namespace plotara::bmp

#include "core/BmpHeader.h"

namespace plotara::bmp {

namespace {

constexpr std::uint32_t pixelsPerMetre = 3780; // 96 dots per inch
constexpr std::uint32_t headerBytes = 14 + 40;

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::uint32_t rowBytes(std::uint32_t width, std::uint32_t bitsPerPixel) {
    return (width * bitsPerPixel / 8 + 3) / 4 * 4;
}

void appendHeaders(std::string& out, std::uint32_t width, std::uint32_t height,
                   std::uint16_t bitsPerPixel, std::uint32_t paletteSize) {
    const std::uint32_t offset = headerBytes + paletteSize * 4;
    const std::uint32_t imageBytes = rowBytes(width, bitsPerPixel) * height;
    out += "BM";
    put32(out, offset + imageBytes);
    put32(out, 0); // reserved
    put32(out, offset);
    put32(out, 40); // BITMAPINFOHEADER
    put32(out, width);
    put32(out, height); // positive: rows bottom to top
    put16(out, 1);      // planes
    put16(out, bitsPerPixel);
    put32(out, 0); // no compression
    put32(out, imageBytes);
    put32(out, pixelsPerMetre);
    put32(out, pixelsPerMetre);
    put32(out, paletteSize); // colours in the table
    put32(out, 0);           // all colours important
}

} // namespace plotara::bmp

#include "apps/BmpWriter.h"

#include <cstdint>
#include <string>

namespace plotara::apps {

namespace {

constexpr std::uint32_t pixelsPerMetre = 3780; // 96 dots per inch, as the control's Picture

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

void writeBmp(const player::ArgbImage& image, const std::function<void(std::string_view)>& sink) {
    if (image.width <= 0 || image.height <= 0) return;
    const auto w = static_cast<std::uint32_t>(image.width);
    const auto h = static_cast<std::uint32_t>(image.height);
    const std::uint32_t rowBytes = (w * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * h;
    std::string header;
    header += "BM";
    put32(header, 54 + imageBytes);
    put32(header, 0);  // reserved
    put32(header, 54); // pixels follow the two headers
    put32(header, 40); // BITMAPINFOHEADER
    put32(header, w);
    put32(header, h); // positive: rows bottom to top
    put16(header, 1); // planes
    put16(header, 24);
    put32(header, 0); // no compression
    put32(header, imageBytes);
    put32(header, pixelsPerMetre);
    put32(header, pixelsPerMetre);
    put32(header, 0); // no colour table
    put32(header, 0); // all colours important
    sink(header);

    std::string row(rowBytes, '\0');
    for (int y = image.height; y-- > 0;) {
        for (int x = 0; x < image.width; ++x) {
            // Premultiplied colour over white: each channel plus (255 - alpha).
            const std::uint32_t argb = image.pixel(x, y);
            const std::uint32_t under = 255 - (argb >> 24);
            const auto at = static_cast<std::size_t>(x) * 3;
            row[at] = static_cast<char>((argb & 0xFF) + under);
            row[at + 1] = static_cast<char>(((argb >> 8) & 0xFF) + under);
            row[at + 2] = static_cast<char>(((argb >> 16) & 0xFF) + under);
        }
        sink(row);
    }
}

} // namespace plotara::apps

#include "apps/BmpEncoder.h"

#include <cstdint>
#include <cstring>

namespace plotara::apps {

namespace {

void put16(std::string& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8);
}

void put32(std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string encodeBmp(const player::ArgbImage& image, int pixelsPerMetre) {
    constexpr std::size_t fileHeader = 14, infoHeader = 40;
    const int width = image.width > 0 ? image.width : 0;
    const int height = image.height > 0 ? image.height : 0;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t imageBytes = rowBytes * static_cast<std::size_t>(height);
    std::string out(fileHeader + infoHeader + imageBytes, '\0');

    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, fileHeader + infoHeader);
    put32(out, 14, infoHeader);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(height)); // positive: bottom-up rows
    put16(out, 26, 1);                                  // planes
    put16(out, 28, 24);                                 // bits a pixel
    put32(out, 30, 0);                                  // BI_RGB
    put32(out, 34, static_cast<std::uint32_t>(imageBytes));
    put32(out, 38, static_cast<std::uint32_t>(pixelsPerMetre));
    put32(out, 42, static_cast<std::uint32_t>(pixelsPerMetre));

    char* pixels = out.data() + fileHeader + infoHeader;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = image.pixels.data() + static_cast<std::size_t>(y) * image.stride;
        char* dst = pixels + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            std::uint32_t argb;
            std::memcpy(&argb, src + 4 * static_cast<std::size_t>(x), 4);
            // Premultiplied colour over white: c + (255 - alpha).
            const std::uint32_t under = 255 - (argb >> 24);
            dst[3 * x] = static_cast<char>((argb & 0xFF) + under);
            dst[3 * x + 1] = static_cast<char>(((argb >> 8) & 0xFF) + under);
            dst[3 * x + 2] = static_cast<char>(((argb >> 16) & 0xFF) + under);
        }
    }
    return out;
}

} // namespace plotara::apps

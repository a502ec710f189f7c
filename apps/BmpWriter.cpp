#include "apps/BmpWriter.h"

#include "core/BmpHeader.h"

#include <cstdint>
#include <string>

namespace plotara::apps {

void writeBmp(const player::ArgbImage& image, const std::function<void(std::string_view)>& sink) {
    if (image.width <= 0 || image.height <= 0) return;
    const auto w = static_cast<std::uint32_t>(image.width);
    const auto h = static_cast<std::uint32_t>(image.height);
    const std::uint32_t rowBytes = bmp::rowBytes(w, 24);
    std::string header;
    bmp::appendHeaders(header, w, h, 24);
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

// A small reader of the bitmap files the control writes, written from the file format alone so
// that the tests check the writer against something other than itself; and the ImageMagick
// identify tool as a second, independent reader.
#pragma once

#include "file_test_support.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace plotara::test {

struct BmpImage {
    long width = 0, height = 0;
    int bitsPerPixel = 0;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
    std::uint32_t fileSize = 0;
};

inline std::uint32_t le(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes; i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
    return v;
}

// Nothing when the file is not an uncompressed 8- or 24-bit bottom-up BMP of the size it claims.
inline std::optional<BmpImage> readBmp(const std::string& path) {
    const std::string b = readAll(path);
    if (b.size() < 54 || b.compare(0, 2, "BM") != 0 || le(b, 14, 4) != 40) return std::nullopt;
    BmpImage image;
    image.fileSize = le(b, 2, 4);
    image.width = static_cast<long>(le(b, 18, 4));
    image.height = static_cast<long>(le(b, 22, 4));
    image.bitsPerPixel = static_cast<int>(le(b, 28, 2));
    const std::uint32_t offset = le(b, 10, 4);
    if (image.fileSize != b.size() || le(b, 30, 4) != 0 || le(b, 26, 2) != 1) return std::nullopt;
    if (image.bitsPerPixel == 8) {
        const std::uint32_t colours = le(b, 46, 4) == 0 ? 256 : le(b, 46, 4);
        for (std::uint32_t i = 0; i < colours; ++i)
            image.palette.push_back(le(b, 54 + 4 * i, 3));
    } else if (image.bitsPerPixel != 24) {
        return std::nullopt;
    }
    const std::size_t bytesPerPixel = static_cast<std::size_t>(image.bitsPerPixel / 8);
    const std::size_t row = (static_cast<std::size_t>(image.width) * bytesPerPixel + 3) / 4 * 4;
    if (offset + row * static_cast<std::size_t>(image.height) != b.size()) return std::nullopt;
    for (long y = 0; y < image.height; ++y) {
        const std::size_t start = offset + row * static_cast<std::size_t>(image.height - 1 - y);
        for (long x = 0; x < image.width; ++x) {
            const std::size_t at = start + static_cast<std::size_t>(x) * bytesPerPixel;
            image.pixels.push_back(bytesPerPixel == 1
                                       ? image.palette.at(static_cast<unsigned char>(b[at]))
                                       : le(b, at, 3));
        }
    }
    return image;
}

// The output of a command, nothing when it cannot run or fails.
inline std::optional<std::string> commandOutput(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    return ::pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

inline bool identifyAvailable() {
    return commandOutput("identify -version").has_value();
}

} // namespace plotara::test

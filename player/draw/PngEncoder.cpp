#include "player/draw/PngEncoder.h"

#include "player/draw/PngDeflate.h"

#include <cairo.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace plotara::player {

namespace {

// Whether every pixel of the row is opaque; one AND over the row, which the compiler vectorises.
bool rowOpaque(const std::uint32_t* src, int w) {
    std::uint32_t all = 0xFFFFFFFF;
    for (int x = 0; x < w; ++x)
        all &= src[x];
    return (all >> 24) == 0xFF;
}

// An opaque row of premultiplied ARGB as RGB bytes.
void rgbRow(const std::uint32_t* src, int w, std::uint8_t* dst) {
    for (int x = 0; x < w; ++x, dst += 3) {
        const std::uint32_t p = src[x];
        dst[0] = static_cast<std::uint8_t>(p >> 16);
        dst[1] = static_cast<std::uint8_t>(p >> 8);
        dst[2] = static_cast<std::uint8_t>(p);
    }
}

// A row of premultiplied ARGB as straight RGBA bytes.
void rgbaRow(const std::uint32_t* src, int w, std::uint8_t* dst) {
    for (int x = 0; x < w; ++x, dst += 4) {
        const std::uint32_t p = src[x];
        unsigned a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (a != 0 && a != 255) {
            r = (r * 255 + a / 2) / a;
            g = (g * 255 + a / 2) / a;
            b = (b * 255 + a / 2) / a;
        }
        dst[0] = static_cast<std::uint8_t>(r);
        dst[1] = static_cast<std::uint8_t>(g);
        dst[2] = static_cast<std::uint8_t>(b);
        dst[3] = static_cast<std::uint8_t>(a);
    }
}

void appendBigEndian(std::string& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(bytes, 4);
}

// Starts a chunk: its length is filled in by endChunk. Returns where the chunk begins.
std::size_t beginChunk(std::string& out, const char (&type)[5]) {
    const std::size_t at = out.size();
    appendBigEndian(out, 0);
    out.append(type, 4);
    return at;
}

// Writes the length of the chunk begun at `at` and appends its checksum (over type and data).
void endChunk(std::string& out, std::size_t at) {
    const std::size_t length = out.size() - at - 8;
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>(length >> (24 - 8 * i));
    const auto* typeAndData = reinterpret_cast<const Bytef*>(out.data() + at + 4);
    appendBigEndian(
        out, static_cast<std::uint32_t>(crc32(0L, typeAndData, static_cast<uInt>(length + 4))));
}

} // namespace

std::string encodePng(cairo_surface_t* image) {
    cairo_surface_flush(image);
    const int w = cairo_image_surface_get_width(image);
    const int h = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    if (!data || w <= 0 || h <= 0) return {};
    // Charts usually cover their whole picture: then the alpha channel is left out (a quarter
    // less to compress).
    bool opaque = true;
    for (int y = 0; y < h && opaque; ++y)
        opaque = rowOpaque(reinterpret_cast<const std::uint32_t*>(data + y * stride), w);
    const std::size_t pixelBytes = opaque ? 3 : 4;
    const std::size_t rowBytes = 1 + pixelBytes * static_cast<std::size_t>(w);

    std::string out;
    out.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) / 8 + 64);
    out.append("\x89PNG\r\n\x1a\n", 8);
    std::size_t chunk = beginChunk(out, "IHDR");
    appendBigEndian(out, static_cast<std::uint32_t>(w));
    appendBigEndian(out, static_cast<std::uint32_t>(h));
    // 8 bits a channel, RGB (2) or RGBA (6), deflate, adaptive filters, no interlacing.
    const char header[5] = {8, static_cast<char>(opaque ? 2 : 6), 0, 0, 0};
    out.append(header, 5);
    endChunk(out, chunk);

    // One IDAT chunk: even a 16384 x 16384 RGBA picture stays below the 2 GiB a chunk may hold
    // (the fixed codes spend at most 9 bits a byte).
    chunk = beginChunk(out, "IDAT");
    RowDeflater deflater(out, rowBytes, pixelBytes);
    std::vector<std::uint8_t> row(rowBytes), above(rowBytes); // filter byte 0: none
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        if (opaque) {
            rgbRow(src, w, row.data() + 1);
        } else {
            rgbaRow(src, w, row.data() + 1);
        }
        deflater.addRow(row.data(), y > 0 ? above.data() : nullptr);
        std::swap(row, above);
    }
    deflater.finish();
    endChunk(out, chunk);
    endChunk(out, beginChunk(out, "IEND"));
    return out;
}

} // namespace plotara::player

#include "player/draw/PngEncoder.h"

#include "player/detail/PngDeflate.h"

#include <cairo.h>
#include <zlib.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace plotara::player {

namespace {

// Whether every pixel of the row is opaque: one AND over the row, two pixels at a time.
bool rowOpaque(const std::uint32_t* src, int w) {
    std::uint64_t all = ~std::uint64_t{0};
    int x = 0;
    for (; x + 2 <= w; x += 2) {
        std::uint64_t two;
        std::memcpy(&two, src + x, 8);
        all &= two;
    }
    std::uint32_t one = static_cast<std::uint32_t>(all) & static_cast<std::uint32_t>(all >> 32);
    if (x < w) one &= src[x];
    return (one >> 24) == 0xFF;
}

// An opaque row of premultiplied ARGB as RGB bytes; `dst` has room for one byte more.
void rgbRow(const std::uint32_t* src, int w, std::uint8_t* dst) {
    if constexpr (std::endian::native == std::endian::little) {
        // Four bytes stored a pixel (R, G, B and a byte the next pixel overwrites): one swap, a
        // shift and a store instead of three byte stores.
        for (int x = 0; x < w; ++x, dst += 3) {
            const std::uint32_t rgb = __builtin_bswap32(src[x]) >> 8;
            std::memcpy(dst, &rgb, 4);
        }
        return;
    }
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

// The rows [y0, y1) of the picture compressed as one part of a zlib stream.
struct Compressed {
    std::string stream;
    std::uint32_t checksum = 1;
    std::size_t bytes = 0;
    bool opaque = true; // false when RGB was asked for but a pixel is not opaque
};

// Compresses the rows [y0, y1) as RGB when `opaque` and otherwise as straight RGBA. Stops early,
// with result.opaque false, when RGB was asked for but a pixel is not opaque.
void compressRows(const unsigned char* data, int w, int y0, int y1, int stride, bool opaque,
                  RowDeflater::Part part, Compressed& result) {
    const std::size_t pixelBytes = opaque ? 3 : 4;
    const std::size_t rowBytes = 1 + pixelBytes * static_cast<std::size_t>(w);
    result.stream.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(y1 - y0) / 8 + 64);
    RowDeflater deflater(result.stream, rowBytes, pixelBytes, part);
    // Filter byte 0 (none); one spare byte for rgbRow's last store.
    std::vector<std::uint8_t> row(rowBytes + 1);
    for (int y = y0; y < y1; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        if (!opaque) {
            rgbaRow(src, w, row.data() + 1);
        } else if (rowOpaque(src, w)) {
            rgbRow(src, w, row.data() + 1);
        } else {
            result.opaque = false;
            return;
        }
        deflater.addRow(row.data());
    }
    deflater.finish();
    result.checksum = deflater.checksum();
    result.bytes = deflater.bytesIn();
}

// Pictures from this many pixels up are compressed in two halves, at once when a helper thread
// has been started (and one after the other otherwise, so that the file is the same): below it,
// handing a half over costs about what it saves.
constexpr long twoPartPixels = 100'000;

// The picture's zlib stream; false when RGB was asked for but a pixel is not opaque. A large
// picture's halves are compressed apart: the bottom one on a started helper meanwhile, or by the
// caller after its own half (no helper, or one that has not taken it by then).
bool compressPicture(const unsigned char* data, int w, int h, int stride, bool opaque,
                     HelperThread* helper, std::string& stream) {
    using Part = RowDeflater::Part;
    if (h < 2 || static_cast<long>(w) * h < twoPartPixels) {
        Compressed whole;
        compressRows(data, w, 0, h, stride, opaque, Part::Whole, whole);
        stream = std::move(whole.stream);
        return whole.opaque;
    }
    const int middle = h / 2;
    Compressed head, tail;
    bool tailOutOfMemory = false;
    auto compressTail = [&]() noexcept {
        try {
            compressRows(data, w, middle, h, stride, opaque, Part::Tail, tail);
        } catch (const std::bad_alloc&) {
            tailOutOfMemory = true;
        }
    };
    const bool handed = helper && helper->started() && helper->start(compressTail);
    try {
        compressRows(data, w, 0, middle, stride, opaque, Part::Head, head);
    } catch (...) {
        if (handed) helper->finish();
        throw;
    }
    if (!handed || !helper->finish()) compressTail(); // the same bytes on one thread
    if (tailOutOfMemory) throw std::bad_alloc();
    if (!head.opaque || !tail.opaque) return false;
    stream = std::move(head.stream);
    stream += tail.stream;
    appendBigEndian(stream, joinedChecksum(head.checksum, tail.checksum, tail.bytes));
    return true;
}

} // namespace

std::string encodePng(cairo_surface_t* image, HelperThread* helper) {
    cairo_surface_flush(image);
    const int w = cairo_image_surface_get_width(image);
    const int h = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    if (!data || w <= 0 || h <= 0) return {};
    // Charts usually cover their whole picture: then the alpha channel is left out (a quarter
    // less to compress). Opacity is checked row by row while compressing, and the first pixel
    // that is not opaque starts the stream again with alpha.
    std::string stream;
    const bool opaque = compressPicture(data, w, h, stride, true, helper, stream);
    if (!opaque) compressPicture(data, w, h, stride, false, helper, stream);

    std::string out;
    out.reserve(stream.size() + 64);
    out.append("\x89PNG\r\n\x1a\n", 8);
    const std::size_t header = beginChunk(out, "IHDR");
    appendBigEndian(out, static_cast<std::uint32_t>(w));
    appendBigEndian(out, static_cast<std::uint32_t>(h));
    // 8 bits a channel, RGB (2) or RGBA (6), deflate, adaptive filters, no interlacing.
    const char fields[5] = {8, static_cast<char>(opaque ? 2 : 6), 0, 0, 0};
    out.append(fields, 5);
    endChunk(out, header);
    // The stream in IDAT chunks of at most 1 MiB (a chunk may hold up to 2 GiB).
    constexpr std::size_t chunkBytes = std::size_t{1} << 20;
    for (std::size_t at = 0; at < stream.size(); at += chunkBytes) {
        const std::size_t chunk = beginChunk(out, "IDAT");
        out.append(stream, at, chunkBytes);
        endChunk(out, chunk);
    }
    endChunk(out, beginChunk(out, "IEND"));
    return out;
}

} // namespace plotara::player

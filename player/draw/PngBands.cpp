#include "player/draw/PngBands.h"

#include "player/draw/PngEncoder.h"

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace plotara::player {

namespace {

void appendBigEndian(std::string& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(bytes, 4);
}

// A chunk: length, type, data and the CRC of type and data.
void appendChunk(std::string& out, const char type[4], const std::string& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out += data;
    const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
    appendBigEndian(
        out, static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(4 + data.size()))));
}

// Feeds the stream until it has taken all its input (and, with Z_FINISH or Z_SYNC_FLUSH, put out
// everything); false on a zlib error.
bool pump(z_stream& zs, std::string& out, int flush) {
    do {
        const std::size_t had = out.size();
        out.resize(had + 65536);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + had);
        zs.avail_out = 65536;
        const int status = deflate(&zs, flush);
        out.resize(had + 65536 - zs.avail_out);
        if (status == Z_STREAM_ERROR) return false;
        if (status == Z_STREAM_END) return true;
    } while (zs.avail_in > 0 || zs.avail_out == 0);
    return true;
}

} // namespace

PngBand deflateBand(const unsigned char* data, int width, int rows, int stride, bool opaque,
                    bool last) {
    PngBand band;
    band.opaque = opaque;
    z_stream zs{};
    // The same settings as the one-thread writer: fastest level, 32 KiB window, no filter.
    if (deflateInit2(&zs, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return band;
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * (opaque ? 3 : 4);
    std::vector<unsigned char> row(rowBytes, 0); // byte 0: filter type "none"
    band.deflated.reserve(static_cast<std::size_t>(width) * rows / 8 + 64);
    band.ok = true;
    for (int y = 0; y < rows && band.ok; ++y) {
        pngRow(
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride),
            width, opaque, row.data() + 1);
        band.adler = adler32(band.adler, row.data(), static_cast<uInt>(rowBytes));
        zs.next_in = row.data();
        zs.avail_in = static_cast<uInt>(rowBytes);
        band.ok = pump(zs, band.deflated, Z_NO_FLUSH);
    }
    // A band that is not last ends on a byte boundary, without the final-block mark.
    if (band.ok) band.ok = pump(zs, band.deflated, last ? Z_FINISH : Z_SYNC_FLUSH);
    band.length = static_cast<long long>(rowBytes) * rows;
    deflateEnd(&zs);
    return band;
}

std::string assemblePng(int width, int height, const std::vector<PngBand>& bands) {
    if (bands.empty() || width <= 0 || height <= 0) return {};
    long long length = 0;
    unsigned long adler = 1;
    std::string idat = {'\x78', '\x01'}; // zlib header: deflate, 32 KiB window, fastest
    for (const PngBand& band : bands) {
        if (!band.ok || band.opaque != bands.front().opaque) return {};
        adler = adler32_combine64(adler, band.adler, band.length);
        length += band.length;
        idat += band.deflated;
    }
    const long long rowBytes = 1 + static_cast<long long>(width) * (bands.front().opaque ? 3 : 4);
    if (length != rowBytes * height) return {};
    appendBigEndian(idat, static_cast<std::uint32_t>(adler));
    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(width));
    appendBigEndian(header, static_cast<std::uint32_t>(height));
    // 8 bits a channel, RGB (2) or RGBA (6), deflate, adaptive filtering, not interlaced.
    header += {'\x08', bands.front().opaque ? '\x02' : '\x06', '\0', '\0', '\0'};
    std::string out = "\x89PNG\r\n\x1a\n";
    out.reserve(out.size() + 25 + idat.size() + 12 + 12);
    appendChunk(out, "IHDR", header);
    appendChunk(out, "IDAT", idat);
    appendChunk(out, "IEND", {});
    return out;
}

} // namespace plotara::player

// A PNG whose image data is compressed in horizontal bands, each on its own thread: every band is
// a deflate stream of its own that ends on a byte boundary, and the bands in order make the
// file's one zlib stream (its checksum combined from theirs).
#pragma once

#include <string>
#include <vector>

namespace plotara::player {

// One band of rows, compressed.
struct PngBand {
    std::string deflated;    // raw deflate data; only the last band's ends the stream
    unsigned long adler = 1; // Adler-32 of the band's filtered rows
    long long length = 0;    // bytes of filtered rows
    bool opaque = true;      // written as RGB (else RGBA)
    bool ok = false;         // false when zlib failed
};

// Compresses `rows` rows of premultiplied ARGB32 (`stride` bytes apart) as PNG image data, each
// row a "no filter" byte and its RGB (opaque) or straight RGBA pixels; `last` ends the stream.
// Never throws but for out of memory; ok is false when zlib fails.
PngBand deflateBand(const unsigned char* data, int width, int rows, int stride, bool opaque,
                    bool last);

// The PNG file of the bands in order, which must all have the same colour type and together
// hold every row; "" when one failed or they do not agree. Never throws but for out of memory.
std::string assemblePng(int width, int height, const std::vector<PngBand>& bands);

} // namespace plotara::player

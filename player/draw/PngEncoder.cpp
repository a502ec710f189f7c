#include "player/draw/PngEncoder.h"

#include <cairo.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

namespace plotara::player {

namespace {
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}
void noFlush(png_structp) {}

// Whether every pixel of the row is opaque; one AND over the row, which the compiler vectorises.
bool rowOpaque(const std::uint32_t* src, int w) {
    std::uint32_t all = 0xFFFFFFFF;
    for (int x = 0; x < w; ++x)
        all &= src[x];
    return (all >> 24) == 0xFF;
}

// An opaque row of premultiplied ARGB as RGB bytes.
void rgbRow(const std::uint32_t* src, int w, png_bytep dst) {
    for (int x = 0; x < w; ++x, dst += 3) {
        const std::uint32_t p = src[x];
        dst[0] = static_cast<png_byte>(p >> 16);
        dst[1] = static_cast<png_byte>(p >> 8);
        dst[2] = static_cast<png_byte>(p);
    }
}

// A row of premultiplied ARGB as straight RGBA bytes.
void rgbaRow(const std::uint32_t* src, int w, png_bytep dst) {
    for (int x = 0; x < w; ++x, dst += 4) {
        const std::uint32_t p = src[x];
        unsigned a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (a != 0 && a != 255) {
            r = (r * 255 + a / 2) / a;
            g = (g * 255 + a / 2) / a;
            b = (b * 255 + a / 2) / a;
        }
        dst[0] = static_cast<png_byte>(r);
        dst[1] = static_cast<png_byte>(g);
        dst[2] = static_cast<png_byte>(b);
        dst[3] = static_cast<png_byte>(a);
    }
}
} // namespace

std::string encodePng(cairo_surface_t* image) {
    cairo_surface_flush(image);
    int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    if (!data || w <= 0 || h <= 0) return {};
    // Charts usually cover their whole picture: then the alpha channel is left out (a quarter
    // less to compress).
    bool opaque = true;
    for (int y = 0; y < h && opaque; ++y)
        opaque = rowOpaque(reinterpret_cast<const std::uint32_t*>(data + y * stride), w);
    // One row buffer, allocated before libpng's error jump can happen.
    std::vector<png_byte> row(static_cast<std::size_t>(w) * 4);
    std::string out;
    out.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) / 8);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return {};
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return {};
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    // Fast compression and no row filter: charts are mostly runs of flat colour, which deflate
    // finds as they are (the sub filter made the files larger and slower to write).
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        if (opaque) {
            rgbRow(src, w, row.data());
        } else {
            rgbaRow(src, w, row.data());
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace plotara::player

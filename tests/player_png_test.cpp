// The PNG writer: what it writes reads back as the picture it was given, opaque pictures as RGB
// and any other as RGBA, whatever row holds the first translucent pixel.
#include "player/draw/PngEncoder.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace plotara {
namespace {

struct Reader {
    const std::string* bytes;
    std::size_t at = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (r->at + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, r->bytes->data() + r->at, length);
    r->at += length;
    return CAIRO_STATUS_SUCCESS;
}

std::uint32_t pixel(cairo_surface_t* s, int x, int y) {
    const unsigned char* row = cairo_image_surface_get_data(s) +
                               static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(s);
    std::uint32_t p;
    std::memcpy(&p, row + 4 * x, 4);
    return p;
}

// Premultiplied channels round-trip through straight alpha to within one step.
bool near(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d < -1 || d > 1) return false;
    }
    return true;
}

// The pixels of the PNG, read back by cairo, that differ from the image's (by more than a step
// unless exact); the first few are reported.
int wrongPixels(const std::string& png, cairo_surface_t* image, bool exact = false) {
    Reader reader{&png};
    cairo_surface_t* back = cairo_image_surface_create_from_png_stream(readBytes, &reader);
    const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    int wrong = 0;
    if (cairo_surface_status(back) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_width(back) != w || cairo_image_surface_get_height(back) != h) {
        ADD_FAILURE() << "the PNG does not read back as a " << w << " x " << h << " picture";
        wrong = -1;
    }
    for (int y = 0; y < h && wrong >= 0; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t got = pixel(back, x, y), want = pixel(image, x, y);
            if ((exact ? got != want : !near(got, want)) && ++wrong < 4)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got
                              << " instead of " << want;
        }
    cairo_surface_destroy(back);
    return wrong;
}

// A w x h image whose pixel (x, y) is color(x, y).
template <class F>
cairo_surface_t* imageOf(int w, int h, F color) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = color(x, y);
            std::memcpy(data + y * stride + 4 * x, &p, 4);
        }
    cairo_surface_mark_dirty(image);
    return image;
}

TEST(PngEncoder, ReadsBackAsTheSamePixels) {
    struct Case {
        const char* name;
        std::uint32_t background;
        std::uint32_t spot; // one pixel at (x, y), the rest is the background
        int x, y;
        int colorType; // 2: RGB, 6: RGBA
    };
    const Case cases[] = {
        {"opaque", 0xFFFFFFFF, 0xFF102030, 5, 5, 2},
        {"opaque with the channels apart", 0xFF0080FF, 0xFFFF8000, 0, 0, 2},
        {"one translucent pixel in the last row", 0xFFFFFFFF, 0x80402000, 38, 29, 6},
        {"one translucent pixel in the first row", 0xFF336699, 0x7F7F0000, 0, 0, 6},
        {"transparent", 0x00000000, 0xFF00FF00, 10, 10, 6},
        {"half-transparent blue", 0x80000080, 0x40400000, 20, 3, 6},
    };
    constexpr int w = 39, h = 30; // an odd width: rows of RGB do not fill whole words
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cairo_surface_t* image = imageOf(
            w, h, [&](int x, int y) { return x == c.x && y == c.y ? c.spot : c.background; });

        const std::string png = player::encodePng(image);
        ASSERT_GT(png.size(), 33u);
        EXPECT_EQ(png.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
        EXPECT_EQ(static_cast<int>(png[25]), c.colorType) << "the IHDR colour type";
        EXPECT_EQ(wrongPixels(png, image), 0);
        cairo_surface_destroy(image);
    }
    cairo_surface_t* none = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 0, 0);
    EXPECT_EQ(player::encodePng(none), "") << "nothing for an image without pixels";
    cairo_surface_destroy(none);
}

// Noise that does not compress: more than one IDAT chunk; and rows wider than deflate's window.
TEST(PngEncoder, LargeAndWidePicturesReadBackExactly) {
    struct Case {
        const char* name;
        int w, h;
        std::uint32_t (*color)(int x, int y, std::uint32_t noise);
    };
    const Case cases[] = {
        {"noise", 700, 700, [](int, int, std::uint32_t n) { return 0xFF000000 | (n & 0xFFFFFF); }},
        {"wide", 12000, 4,
         [](int x, int y, std::uint32_t) {
             return 0xFF000000 | static_cast<std::uint32_t>((x / 9 + y) % 7) * 0x242424;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::uint32_t noise = 1; // row by row: imageOf calls in that order
        cairo_surface_t* image = imageOf(c.w, c.h, [&](int x, int y) {
            noise = noise * 1664525u + 1013904223u;
            return c.color(x, y, noise >> 8);
        });
        EXPECT_EQ(wrongPixels(player::encodePng(image), image, true), 0);
        cairo_surface_destroy(image);
    }
}

// With a helper thread, the bottom half of a large picture is compressed on it: the file is the
// one a single thread writes and reads back as the picture, RGB or RGBA as found in either half.
TEST(PngEncoder, TwoThreadsWriteTheSameFile) {
    struct Case {
        const char* name;
        int translucentRow; // -1: none
        int colorType;
    };
    const Case cases[] = {
        {"opaque", -1, 2},
        {"a translucent pixel in the top half", 10, 6},
        {"a translucent pixel in the bottom half", 290, 6},
    };
    constexpr int w = 401, h = 300;
    player::HelperThread helper;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cairo_surface_t* image = imageOf(w, h, [&](int x, int y) {
            if (y == c.translucentRow && x == 7) return 0x80402010u;
            return x % 50 < 20 ? 0xFF000000 | static_cast<std::uint32_t>(x * 977 + y) : 0xFFFFFFFFu;
        });
        helper.warmUp();
        const std::string png = player::encodePng(image, &helper);
        EXPECT_EQ(static_cast<int>(png[25]), c.colorType) << "the IHDR colour type";
        EXPECT_TRUE(png == player::encodePng(image)) << "not the file one thread writes";
        EXPECT_EQ(wrongPixels(png, image), 0);
        cairo_surface_destroy(image);
    }
}

} // namespace
} // namespace plotara

// The BMP headers, byte for byte against headers worked out by hand from the file format.
#include "core/BmpHeader.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

// The bytes as two hexadecimal digits each, for readable failures.
std::string hex(const std::string& bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

TEST(BmpHeader, RowsArePaddedToFourBytes) {
    const struct {
        std::uint32_t width, bits, bytes;
    } cases[] = {{1, 24, 4}, {3, 24, 12}, {4, 24, 12}, {5, 24, 16}, {1, 8, 4},
                 {4, 8, 4},  {5, 8, 8},   {0, 24, 0},  {0, 8, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(bmp::rowBytes(c.width, c.bits), c.bytes) << c.width << " x " << c.bits;
}

TEST(BmpHeader, HeadersOfTrueColourAndPalettePictures) {
    const struct {
        std::uint32_t width, height;
        std::uint16_t bits;
        std::uint32_t palette;
        const char* header;
    } cases[] = {
        // 3 x 2 at 24 bits: 9-byte rows padded to 12, 24 bytes of pixels right after 54.
        {3, 2, 24, 0,
         "424d4e000000000000003600000028000000030000000200000001001800"
         "0000000018000000c40e0000c40e00000000000000000000"},
        // 5 x 1 at 8 bits with two colours: pixels after the 8-byte colour table, at 62.
        {5, 1, 8, 2,
         "424d46000000000000003e00000028000000050000000100000001000800"
         "0000000008000000c40e0000c40e00000200000000000000"},
    };
    for (const auto& c : cases) {
        std::string out = "kept";
        bmp::appendHeaders(out, c.width, c.height, c.bits, c.palette);
        ASSERT_EQ(out.size(), 4u + 54u);
        EXPECT_EQ(out.substr(0, 4), "kept");
        EXPECT_EQ(hex(out.substr(4)), c.header);
    }
}

} // namespace
} // namespace plotara

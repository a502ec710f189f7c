// The PNG writer's compression: the zlib stream inflates (with zlib itself) to exactly the rows
// that went in, whatever they repeat; the checksum agrees with zlib's; the block codes are
// complete prefix codes within deflate's length limits.
#include "player/detail/PngDeflate.h"
#include "player/detail/PngHuffman.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace plotara {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The zlib stream inflated by zlib, at most `size` bytes and one more.
Bytes inflated(const std::string& stream, std::size_t size) {
    Bytes back(size + 1);
    uLongf got = back.size();
    const int status = uncompress(back.data(), &got, reinterpret_cast<const Bytef*>(stream.data()),
                                  static_cast<uLong>(stream.size()));
    EXPECT_EQ(status, Z_OK) << "zlib could not inflate the stream";
    back.resize(status == Z_OK ? got : 0);
    return back;
}

// Rows (filter byte included) compressed one by one.
std::string deflated(const Bytes& rows, std::size_t rowBytes, std::size_t pixelBytes) {
    std::string out;
    player::RowDeflater deflater(out, rowBytes, pixelBytes);
    for (std::size_t at = 0; at < rows.size(); at += rowBytes)
        deflater.addRow(rows.data() + at);
    deflater.finish();
    return out;
}

TEST(PngDeflate, InflatesToTheRowsThatWentIn) {
    struct Case {
        const char* name;
        std::size_t width, height, pixelBytes;
        // The byte at (x, y) of the row after its filter byte.
        std::function<std::uint8_t(std::size_t x, std::size_t y, std::mt19937& random)> byte;
        std::size_t perRow = 0; // when not 0, the stream's bytes a row are fewer
    };
    const Case cases[] = {
        {"one flat colour", 640, 480, 3, [](auto, auto, auto&) { return std::uint8_t{0xFF}; }, 16},
        {"bars: runs that repeat the row above", 97, 40, 3,
         [](std::size_t x, std::size_t y, auto&) {
             return static_cast<std::uint8_t>(y > 10 && x % 30 < 12 ? 0x40 + x / 30 : 0xFF);
         }},
        {"noise over several blocks of tokens", 400, 120, 3,
         [](auto, auto, std::mt19937& r) { return static_cast<std::uint8_t>(r()); }},
        {"a few values: repeats found by lookup, not by position", 211, 64, 3,
         [](auto, auto, std::mt19937& r) { return static_cast<std::uint8_t>(r() % 3 * 100); }},
        {"a slanted edge", 150, 60, 3,
         [](std::size_t x, std::size_t y, auto&) {
             return static_cast<std::uint8_t>(x / 3 + y < 80 ? 0x20 : (x / 3 + y) * 7);
         }},
        {"RGBA", 123, 30, 4,
         [](std::size_t x, std::size_t y, auto&) {
             return static_cast<std::uint8_t>(x % 4 == 3 ? 0x80 : (x / 20 + y / 10) * 16);
         }},
        // Repeats of the row above of 258 to 261 bytes: 259 and 260 cannot end in a 258-byte
        // match, the remainder would be shorter than a match.
        {"runs just past the longest match", 262, 8, 1,
         [](std::size_t x, std::size_t y, auto&) {
             return static_cast<std::uint8_t>(x < 257 + y % 4 ? 7 : 9);
         }},
        {"rows longer than the window", 12000, 5, 3,
         [](std::size_t x, std::size_t y, auto&) {
             return static_cast<std::uint8_t>((x / 7 + y) % 5 * 50);
         }},
        // Each row the same noise, 32,800 bytes apart: just too far back for a repeat.
        {"repeats just beyond the window", 32799, 2, 1,
         [](std::size_t x, std::size_t, auto&) {
             return static_cast<std::uint8_t>((x * 2654435761u) >> 13);
         }},
        {"one pixel", 1, 1, 3, [](auto, auto, auto&) { return std::uint8_t{42}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 random(7);
        const std::size_t rowBytes = 1 + c.width * c.pixelBytes;
        Bytes rows;
        for (std::size_t y = 0; y < c.height; ++y) {
            rows.push_back(0);
            for (std::size_t x = 0; x < c.width * c.pixelBytes; ++x)
                rows.push_back(c.byte(x, y, random));
        }
        const std::string stream = deflated(rows, rowBytes, c.pixelBytes);
        EXPECT_EQ(inflated(stream, rows.size()), rows);
        if (c.perRow) {
            EXPECT_LT(stream.size(), c.height * c.perRow);
        }
    }
}

// The rows compressed as a head and a tail apart, joined with the joined checksum, as the
// encoder does with two threads.
std::string headAndTail(const Bytes& rows, std::size_t rowBytes, std::size_t pixelBytes,
                        std::size_t headRows) {
    using Part = player::RowDeflater::Part;
    std::string head, tail;
    player::RowDeflater first(head, rowBytes, pixelBytes, Part::Head);
    player::RowDeflater second(tail, rowBytes, pixelBytes, Part::Tail);
    for (std::size_t at = 0; at < rows.size(); at += rowBytes)
        (at < headRows * rowBytes ? first : second).addRow(rows.data() + at);
    first.finish();
    second.finish();
    std::string stream = head + tail;
    const std::uint32_t sum =
        player::joinedChecksum(first.checksum(), second.checksum(), second.bytesIn());
    for (int shift = 24; shift >= 0; shift -= 8)
        stream.push_back(static_cast<char>(sum >> shift));
    return stream;
}

TEST(PngDeflate, AHeadAndATailCompressedApartJoinIntoOneStream) {
    std::mt19937 random(11);
    const std::size_t width = 300, height = 90, rowBytes = 1 + 3 * width;
    Bytes rows;
    for (std::size_t y = 0; y < height; ++y) {
        rows.push_back(0);
        // Bars over noise: repeats of the row above and of the pixel before, across the split.
        for (std::size_t x = 0; x < 3 * width; ++x)
            rows.push_back(static_cast<std::uint8_t>(x % 90 < 40 ? 0x30 + x / 90 : random()));
    }
    // The split anywhere, an empty head or tail included; a head with more than one block.
    for (std::size_t headRows : {std::size_t{0}, std::size_t{1}, height / 2, height - 1, height}) {
        SCOPED_TRACE(headRows);
        EXPECT_EQ(inflated(headAndTail(rows, rowBytes, 3, headRows), rows.size()), rows);
    }
}

TEST(PngDeflate, ChecksumAgreesWithZlib) {
    std::mt19937 random(3);
    Bytes data(100000);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(random());
    const Bytes ones(70000, 0xFF); // the largest sums between reductions
    for (std::size_t size : {0, 1, 31, 32, 33, 4095, 4096, 4097, 5552, 5553, 70000, 100000}) {
        SCOPED_TRACE(size);
        for (const Bytes* bytes : {static_cast<const Bytes*>(&data), &ones}) {
            if (size > bytes->size()) continue;
            const auto want = adler32(1, bytes->data(), static_cast<uInt>(size));
            EXPECT_EQ(player::adler32Update(1, bytes->data(), size), want);
            // In two pieces, split off the 32-byte grid.
            const std::size_t half = size / 2 + (size > 2 ? 1 : 0);
            const std::uint32_t first = player::adler32Update(1, bytes->data(), half);
            EXPECT_EQ(player::adler32Update(first, bytes->data() + half, size - half), want);
        }
    }
}

// Kraft's sum of the used lengths, times 2^limit: exactly 2^limit for a complete code.
std::uint64_t kraft(const std::vector<std::uint8_t>& lengths, int limit) {
    std::uint64_t sum = 0;
    for (std::uint8_t l : lengths)
        if (l) sum += std::uint64_t{1} << (limit - l);
    return sum;
}

TEST(PngHuffman, LengthsMakeACompleteCodeWithinTheLimit) {
    struct Case {
        const char* name;
        std::vector<std::uint32_t> counts;
        int limit;
    };
    std::vector<std::uint32_t> fibonacci(30, 0);
    fibonacci[0] = fibonacci[1] = 1;
    for (std::size_t i = 2; i < fibonacci.size(); ++i)
        fibonacci[i] = fibonacci[i - 1] + fibonacci[i - 2]; // a 29-deep tree unlimited
    std::vector<std::uint32_t> literals(286, 0);
    for (std::size_t i = 0; i < literals.size(); i += 3)
        literals[i] = static_cast<std::uint32_t>(1 + i * i);
    const Case cases[] = {
        {"two symbols", {5, 0, 0, 9}, 15},
        {"skewed past the limit", fibonacci, 15},
        {"code lengths' code",
         {90, 1, 1, 1, 3, 7, 15, 31, 63, 127, 255, 511, 0, 0, 0, 0, 1, 2, 9},
         7},
        {"a literal alphabet with gaps", literals, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int n = static_cast<int>(c.counts.size());
        std::vector<std::uint8_t> lengths(c.counts.size());
        player::huffmanLengths(c.counts.data(), n, c.limit, lengths.data());
        for (int s = 0; s < n; ++s) {
            EXPECT_EQ(lengths[s] > 0, c.counts[s] > 0) << "symbol " << s;
            EXPECT_LE(lengths[s], c.limit) << "symbol " << s;
        }
        EXPECT_EQ(kraft(lengths, c.limit), std::uint64_t{1} << c.limit);
        // Canonical codes: no code is the beginning of another (compared in sending order).
        std::vector<player::Code> codes(c.counts.size());
        player::canonicalCodes(lengths.data(), n, codes.data());
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < n; ++b) {
                if (a == b || !lengths[a] || lengths[a] > lengths[b]) continue;
                const std::uint32_t mask = (1u << lengths[a]) - 1;
                EXPECT_NE(codes[a].bits, codes[b].bits & mask) << a << " prefixes " << b;
            }
    }
}

} // namespace
} // namespace plotara

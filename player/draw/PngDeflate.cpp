#include "player/draw/PngDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace plotara::player {

namespace {

constexpr std::array<std::uint16_t, 29> lengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> lengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> distanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> distanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                        4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                        9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The length symbol (0..28, symbol 257 + it) of each match length 3..258.
constexpr std::array<std::uint8_t, 259> lengthSymbols = [] {
    std::array<std::uint8_t, 259> t{};
    for (std::size_t i = 0; i < lengthBase.size(); ++i)
        for (unsigned len = lengthBase[i]; len <= 258; ++len)
            t[len] = static_cast<std::uint8_t>(i);
    return t;
}();

// The order deflate sends the code-length code's lengths in.
constexpr std::array<std::uint8_t, 19> codeLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                          11, 4,  12, 3, 13, 2, 14, 1, 15};

constexpr std::size_t window = 32768, longestMatch = 258, shortestMatch = 3;
// Tokens a block: 64 KiB of them stay in the cache, and a block's header is small beside them.
constexpr std::size_t blockTokens = 16384;

// The distance code's index and extra bits (the code itself comes with the block).
Code distanceCode(std::size_t distance) {
    std::size_t i = distanceBase.size() - 1;
    while (distanceBase[i] > distance)
        --i;
    return {static_cast<std::uint32_t>(i), static_cast<int>(distance - distanceBase[i])};
}

// A Huffman code needs two used symbols to be complete; give unused ones a count if needed.
void useAtLeastTwo(std::uint32_t* counts, int n) {
    int used = static_cast<int>(std::count_if(counts, counts + n, [](auto c) { return c > 0; }));
    for (int s = 0; s < n && used < 2; ++s)
        if (counts[s] == 0) counts[s] = 1, ++used;
}

// How many bytes from a and b agree, up to `most`; a and b may overlap.
std::size_t sameBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t most) {
    std::size_t n = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; n + 8 <= most; n += 8) {
            std::uint64_t x, y;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (x != y) return n + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
        }
    }
    while (n < most && a[n] == b[n])
        ++n;
    return n;
}

} // namespace

RowDeflater::RowDeflater(std::string& out, std::size_t rowBytes, std::size_t pixelBytes)
    : out_(out), rowBytes_(rowBytes), pixelBytes_(pixelBytes),
      rowMatches_(rowBytes <= window), distance_{distanceCode(pixelBytes),
                                                 distanceCode(std::min(rowBytes, window))},
      adler_(adler32(0L, nullptr, 0)) {
    tokens_.reserve(blockTokens);
    // zlib header: deflate with a 32 KiB window, no dictionary, fastest level (0x78 0x01).
    out_.push_back('\x78');
    out_.push_back('\x01');
}

void RowDeflater::put(std::uint32_t bits, int count) {
    pending_ |= static_cast<std::uint64_t>(bits) << pendingCount_;
    pendingCount_ += count;
    if (pendingCount_ >= 32) {
        const char bytes[4] = {static_cast<char>(pending_), static_cast<char>(pending_ >> 8),
                               static_cast<char>(pending_ >> 16),
                               static_cast<char>(pending_ >> 24)};
        out_.append(bytes, 4);
        pending_ >>= 32;
        pendingCount_ -= 32;
    }
}

void RowDeflater::literal(std::uint8_t byte) {
    tokens_.push_back(byte);
    ++literalCounts_[byte];
    if (tokens_.size() == blockTokens) writeBlock(false);
}

void RowDeflater::match(std::size_t length, int distance) {
    while (length > 0) {
        // A remainder shorter than a match is avoided by leaving it to the piece before.
        std::size_t piece = std::min(length, longestMatch);
        if (length > longestMatch && length - longestMatch < shortestMatch)
            piece = longestMatch - shortestMatch;
        tokens_.push_back(static_cast<std::uint32_t>(piece << 8) |
                          static_cast<std::uint32_t>(distance));
        ++literalCounts_[257 + lengthSymbols[piece]];
        ++distanceCounts_[distance_[static_cast<std::size_t>(distance)].bits];
        if (tokens_.size() == blockTokens) writeBlock(false);
        length -= piece;
    }
}

void RowDeflater::addRow(const std::uint8_t* row, const std::uint8_t* above) {
    adler_ = adler32(adler_, row, static_cast<uInt>(rowBytes_));
    const bool fromAbove = above && rowMatches_;
    std::size_t i = 0;
    while (i < rowBytes_) {
        const std::size_t most = rowBytes_ - i;
        const std::size_t left =
            i >= pixelBytes_ ? sameBytes(row + i, row + i - pixelBytes_, most) : 0;
        const std::size_t up = fromAbove ? sameBytes(row + i, above + i, most) : 0;
        // The pixel before wins a tie: its distance is the cheaper one.
        if (left >= shortestMatch && left >= up) {
            match(left, 0);
            i += left;
        } else if (up >= shortestMatch) {
            match(up, 1);
            i += up;
        } else {
            literal(row[i]);
            ++i;
        }
    }
}

void RowDeflater::writeBlock(bool last) {
    literalCounts_[256] = 1; // end of block
    useAtLeastTwo(literalCounts_.data(), 286);
    useAtLeastTwo(distanceCounts_.data(), 30);
    std::array<std::uint8_t, 286 + 30> lengths{};
    huffmanLengths(literalCounts_.data(), 286, 15, lengths.data());
    huffmanLengths(distanceCounts_.data(), 30, 15, lengths.data() + 286);
    int literalsSent = 286, distancesSent = 30;
    while (lengths[static_cast<std::size_t>(literalsSent - 1)] == 0)
        --literalsSent;
    while (lengths[static_cast<std::size_t>(286 + distancesSent - 1)] == 0)
        --distancesSent;
    std::array<Code, 286> literalCodes;
    std::array<Code, 30> distanceCodes;
    canonicalCodes(lengths.data(), 286, literalCodes.data());
    canonicalCodes(lengths.data() + 286, 30, distanceCodes.data());

    // Both codes' lengths in one sequence, runs of zeros as symbols 17 (3..10) and 18 (11..138).
    std::array<std::uint8_t, 286 + 30> sequence{};
    std::copy_n(lengths.begin(), literalsSent, sequence.begin());
    std::copy_n(lengths.begin() + 286, distancesSent, sequence.begin() + literalsSent);
    const int sequenceLength = literalsSent + distancesSent;
    std::array<std::uint16_t, 286 + 30> runs{}; // symbol | repeat count << 8
    int runCount = 0;
    std::array<std::uint32_t, 19> lengthCounts{};
    for (int i = 0; i < sequenceLength;) {
        int zeros = 0;
        while (i + zeros < sequenceLength && zeros < 138 &&
               sequence[static_cast<std::size_t>(i + zeros)] == 0)
            ++zeros;
        std::uint16_t symbol = sequence[static_cast<std::size_t>(i)];
        int step = 1;
        if (zeros >= 11) {
            symbol = 18, step = zeros;
        } else if (zeros >= 3) {
            symbol = 17, step = zeros;
        }
        runs[static_cast<std::size_t>(runCount++)] = static_cast<std::uint16_t>(symbol | step << 8);
        ++lengthCounts[symbol];
        i += step;
    }
    useAtLeastTwo(lengthCounts.data(), 19);
    std::array<std::uint8_t, 19> lengthLengths{};
    huffmanLengths(lengthCounts.data(), 19, 7, lengthLengths.data());
    std::array<Code, 19> lengthCodes;
    canonicalCodes(lengthLengths.data(), 19, lengthCodes.data());
    int lengthsSent = 19;
    while (lengthsSent > 4 && lengthLengths[codeLengthOrder[lengthsSent - 1]] == 0)
        --lengthsSent;

    put(last ? 1 : 0, 1);
    put(2, 2); // dynamic codes
    put(static_cast<std::uint32_t>(literalsSent - 257), 5);
    put(static_cast<std::uint32_t>(distancesSent - 1), 5);
    put(static_cast<std::uint32_t>(lengthsSent - 4), 4);
    for (int i = 0; i < lengthsSent; ++i)
        put(lengthLengths[codeLengthOrder[static_cast<std::size_t>(i)]], 3);
    for (int i = 0; i < runCount; ++i) {
        const unsigned symbol = runs[static_cast<std::size_t>(i)] & 0xFF;
        const unsigned step = runs[static_cast<std::size_t>(i)] >> 8;
        put(lengthCodes[symbol].bits, lengthCodes[symbol].count);
        if (symbol == 17) put(step - 3, 3);
        if (symbol == 18) put(step - 11, 7);
    }

    for (const std::uint32_t token : tokens_) {
        if (token < 256) {
            put(literalCodes[token].bits, literalCodes[token].count);
            continue;
        }
        const std::size_t length = token >> 8;
        const std::size_t symbol = lengthSymbols[length];
        const Code& lengthCode = literalCodes[257 + symbol];
        put(lengthCode.bits | static_cast<std::uint32_t>(length - lengthBase[symbol])
                                  << lengthCode.count,
            lengthCode.count + lengthExtra[symbol]);
        const Code& d = distance_[token & 0xFF];
        const Code& distanceCode = distanceCodes[d.bits];
        put(distanceCode.bits | static_cast<std::uint32_t>(d.count) << distanceCode.count,
            distanceCode.count + distanceExtra[d.bits]);
    }
    put(literalCodes[256].bits, literalCodes[256].count);
    tokens_.clear();
    literalCounts_.fill(0);
    distanceCounts_.fill(0);
}

void RowDeflater::finish() {
    writeBlock(true);
    while (pendingCount_ > 0) {
        out_.push_back(static_cast<char>(pending_));
        pending_ >>= 8;
        pendingCount_ -= 8;
    }
    pendingCount_ = 0;
    for (int shift = 24; shift >= 0; shift -= 8)
        out_.push_back(static_cast<char>(adler_ >> shift));
}

} // namespace plotara::player

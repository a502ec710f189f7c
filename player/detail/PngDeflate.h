// The compressed picture data of a PNG: one zlib stream written row by row. Repeats are looked
// for where chart pictures have them (the pixel before, the row above) and otherwise at the
// last place the next four bytes were seen, without walking any chain of earlier places: a
// fraction of a general-purpose search's time on flat pictures. The literals and repeats found
// are coded with Huffman codes made for each block.
#pragma once

#include "player/detail/PngHuffman.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plotara::player {

// zlib's checksum (Adler-32) of `size` more bytes; start from 1.
std::uint32_t adler32Update(std::uint32_t adler, const std::uint8_t* data, std::size_t size);

// The checksum of a head and a tail joined, from their own checksums and the tail's length in
// bytes.
std::uint32_t joinedChecksum(std::uint32_t head, std::uint32_t tail, std::size_t tailBytes);

class RowDeflater {
public:
    // What a deflater writes: a whole zlib stream, or one of two parts compressed apart (by two
    // threads) that make one stream when joined: the head (the zlib header, and blocks that end
    // on a byte) and the tail (the last blocks, without any repeat reaching into the head). The
    // joined stream's checksum is then appended by the caller (joinedChecksum).
    enum class Part { Whole, Head, Tail };

    // Appends to `out`. Rows are `rowBytes` long (the filter byte included), pixels
    // `pixelBytes` long (3 or 4). Throws std::bad_alloc when memory runs out.
    RowDeflater(std::string& out, std::size_t rowBytes, std::size_t pixelBytes,
                Part part = Part::Whole);
    // Compresses the next row. Throws std::bad_alloc when `out` cannot grow.
    void addRow(const std::uint8_t* row);
    // Ends the stream or the part (a whole stream with its checksum); add no row after it.
    // Throws std::bad_alloc when `out` cannot grow.
    void finish();
    // The Adler-32 checksum of the rows given so far, and their length in bytes.
    std::uint32_t checksum() const noexcept { return adler_; }
    std::size_t bytesIn() const noexcept { return bytesIn_; }

private:
    // Tokens a block: 64 KiB of them stay in the cache, and a block's header is small beside them.
    static constexpr std::size_t blockTokens = 16384;

    void literal(std::uint8_t byte) {
        tokens_.push_back(byte);
        ++literalCounts_[byte];
        if (tokens_.size() == blockTokens) writeBlock(false);
    }
    void match(std::size_t length, std::uint32_t distance);
    void writeBlock(bool last);
    // The block header's lengths: both codes' lengths in one sequence, coded themselves.
    void writeCodeLengths(const std::uint8_t* sequence, int literalsSent, int distancesSent);
    void put(std::uint32_t bits, int count) {
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

    std::string& out_;
    std::size_t rowBytes_, pixelBytes_;
    Part part_;
    std::size_t bytesIn_ = 0;
    // The stream's last bytes: at least deflate's 32 KiB window before the current row.
    std::vector<std::uint8_t> history_;
    std::size_t used_ = 0;  // bytes of history_ in use
    std::size_t start_ = 0; // stream position of history_[0]
    // By hash of four bytes: where in the stream they were last seen, plus one (0: never).
    std::vector<std::uint32_t> recent_;
    std::vector<std::uint32_t> tokens_; // the block so far: a byte, or distance << 9 | length
    std::array<std::uint32_t, 286> literalCounts_{};
    std::array<std::uint32_t, 30> distanceCounts_{};
    std::uint64_t pending_ = 0;
    int pendingCount_ = 0;
    std::uint32_t adler_;
};

} // namespace plotara::player

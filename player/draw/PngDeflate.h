// The compressed picture data of a PNG: one zlib stream written row by row. Repeats are looked
// for only where chart pictures have them (the pixel before, the row above), which takes a
// fraction of a general-purpose search's time on flat pictures; the found literals and repeats
// are then coded with Huffman codes made for each block.
#pragma once

#include "player/draw/PngHuffman.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plotara::player {

class RowDeflater {
public:
    // Appends to `out`. Rows are `rowBytes` long (the filter byte included), pixels
    // `pixelBytes` long (3 or 4). Throws std::bad_alloc when memory runs out.
    RowDeflater(std::string& out, std::size_t rowBytes, std::size_t pixelBytes);
    // Compresses the next row; `above` is the previous row's bytes (nullptr for the first row).
    // Throws std::bad_alloc when `out` cannot grow.
    void addRow(const std::uint8_t* row, const std::uint8_t* above);
    // Ends the stream (last block, checksum); add no row after it. Throws std::bad_alloc when
    // `out` cannot grow.
    void finish();

private:
    void literal(std::uint8_t byte);
    void match(std::size_t length, int distance);
    void writeBlock(bool last);
    void put(std::uint32_t bits, int count);

    std::string& out_;
    std::size_t rowBytes_, pixelBytes_;
    bool rowMatches_;              // whether the row above is within deflate's 32 KiB window
    std::array<Code, 2> distance_; // the pixel before, the row above: code index and extra bits
    std::vector<std::uint32_t> tokens_; // the block so far: a byte, or (length << 8) | distance
    std::array<std::uint32_t, 286> literalCounts_{};
    std::array<std::uint32_t, 30> distanceCounts_{};
    std::uint64_t pending_ = 0;
    int pendingCount_ = 0;
    unsigned long adler_;
};

} // namespace plotara::player

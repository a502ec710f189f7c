// Huffman codes for deflate's dynamic blocks: code lengths from symbol counts, limited to what
// deflate allows, and the canonical codes those lengths stand for.
#pragma once

#include <cstdint>

namespace plotara::player {

// A code ready for deflate's bit stream: its bits (least significant first) and how many.
struct Code {
    std::uint32_t bits = 0;
    int count = 0;
};

// The bits of `code` in reverse order (deflate sends Huffman codes first bit first).
std::uint32_t reversedBits(std::uint32_t code, int count);

// Code lengths (at most `limit` bits) for the `n` symbols' counts; 0 for a symbol never used.
// At least two symbols must be used.
void huffmanLengths(const std::uint32_t* counts, int n, int limit, std::uint8_t* lengths);

// The canonical codes of the lengths (deflate's rule: shorter codes first, then by symbol).
void canonicalCodes(const std::uint8_t* lengths, int n, Code* codes);

} // namespace plotara::player

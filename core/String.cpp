#include "core/String.h"

#include <type_traits>

namespace plotara {

namespace {

constexpr char32_t replacement = 0xFFFD;

} // namespace

std::string toUtf8(StringView text) {
    std::string out;
    out.reserve(text.size());
    char bytes[4];
    for (wchar_t w : text)
        out.append(bytes, encodeUtf8(w, bytes));
    return out;
}

// Decodes well-formed sequences; every maximal ill-formed subpart becomes one U+FFFD, the way
// current decoders do, so a bad byte never swallows the valid character after it.
String fromUtf8(std::string_view text) {
    String out;
    appendFromUtf8(out, text);
    return out;
}

void appendFromUtf8(String& out, std::string_view text) {
    const std::size_t n = text.size();
    // ASCII, the common case, widens byte by byte into room made once.
    std::size_t ascii = 0;
    while (ascii < n && static_cast<unsigned char>(text[ascii]) < 0x80)
        ++ascii;
    const std::size_t start = out.size();
    out.resize(start + ascii);
    wchar_t* wide = out.data() + start;
    for (std::size_t k = 0; k < ascii; ++k)
        wide[k] = static_cast<wchar_t>(static_cast<unsigned char>(text[k]));
    if (ascii == n) return;

    out.reserve(start + n);
    std::size_t i = ascii;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        int need = 0;
        char32_t c = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            need = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            need = 2;
            c = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            need = 3;
            c = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F; // nothing past U+10FFFF
        } else {
            out += static_cast<wchar_t>(replacement);
            ++i;
            continue;
        }
        ++i;
        bool complete = true;
        for (int k = 0; k < need; ++k, ++i) {
            if (i >= n) {
                complete = false;
                break;
            }
            const auto b = static_cast<unsigned char>(text[i]);
            if (b < low || b > high) {
                complete = false;
                break;
            }
            low = 0x80;
            high = 0xBF;
            c = (c << 6) | (b & 0x3F);
        }
        out += static_cast<wchar_t>(complete ? c : replacement);
    }
}

} // namespace plotara

#include "core/String.h"

#include <type_traits>

namespace plotara {

namespace {

constexpr char32_t replacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string toUtf8(StringView text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(w));
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = replacement;
        appendUtf8(out, c);
    }
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

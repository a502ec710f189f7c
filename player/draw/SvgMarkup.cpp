#include "player/draw/SvgMarkup.h"

#include "player/util/Decimals.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace plotara::player {

char* writeSvgNumber(char* at, double v, int decimals) {
    if (!std::isfinite(v)) {
        *at = '0';
        return at + 1;
    }
    // The common case (a coordinate with a few decimals) the fast way.
    if (char* end = writeDecimals(at, v, decimals, false)) return end;
    char buf[maxSvgNumber];
    const bool huge = std::fabs(v) >= 1e15;
    auto [end, ec] = huge ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17)
                          : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed,
                                          std::clamp(decimals, 0, 9));
    if (ec != std::errc{}) {
        *at = '0';
        return at + 1;
    }
    char* p = end;
    if (!huge && decimals > 0) {
        while (p[-1] == '0')
            --p;
        if (p[-1] == '.') --p;
    }
    if (p - buf == 2 && buf[0] == '-' && buf[1] == '0') {
        *at = '0';
        return at + 1;
    }
    return std::copy(buf, p, at);
}

void appendSvgNumber(std::string& out, double v, int decimals) {
    char buf[maxSvgNumber];
    out.append(buf, writeSvgNumber(buf, v, decimals));
}

namespace {

int channel(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

} // namespace

void appendSvgPaint(std::string& out, std::string_view name, const Color& c) {
    out += ' ';
    out += name;
    out += "=\"rgb(";
    out += std::to_string(channel(c.r));
    out += ',';
    out += std::to_string(channel(c.g));
    out += ',';
    out += std::to_string(channel(c.b));
    out += ")\"";
    const double a = std::isfinite(c.a) ? std::clamp(c.a, 0.0, 1.0) : 1.0;
    if (a < 1) {
        out += ' ';
        out += name;
        out += "-opacity=\"";
        appendSvgNumber(out, a, 3);
        out += '"';
    }
}

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD"; // U+FFFD

// The length of the well-formed UTF-8 sequence at text[i] (1 to 4), or 0 when the bytes there
// are not one (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, cut short).
std::size_t sequenceAt(std::string_view text, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t n;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

} // namespace

void appendXmlText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t n = sequenceAt(text, i, cp);
        if (n == 0) {
            out += replacement;
            ++i;
            continue;
        }
        switch (cp) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            if (cp < 0x20 || cp == 0xFFFE || cp == 0xFFFF) {
                out += replacement;
            } else {
                out.append(text, i, n);
            }
        }
        i += n;
    }
}

} // namespace plotara::player

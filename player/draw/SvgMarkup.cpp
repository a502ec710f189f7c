#include "player/draw/SvgMarkup.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace plotara::player {

namespace {

// The fast way for the common case (a coordinate with a few decimals): v scaled to an integer
// count of its last decimal, when that rounding is certain; nullptr when v is large or lies so
// near a halfway point that only the exact decimal expansion decides (std::to_chars then does).
char* writeScaled(char* at, double v, int decimals) {
    constexpr double scales[] = {1, 10, 100, 1000, 10000};
    if (decimals < 0 || decimals > 4 || !(std::fabs(v) < 1e9)) return nullptr;
    const double scaled = v * scales[decimals];
    const double rounded = std::nearbyint(scaled);
    // scaled is v * 10^decimals to within half an ulp; the margin covers that error.
    const double margin = std::fabs(scaled) * 0x1p-51 + 1e-12;
    if (std::fabs(std::fabs(scaled - rounded) - 0.5) <= margin) return nullptr;
    auto units = static_cast<std::int64_t>(rounded);
    if (units == 0) {
        *at = '0';
        return at + 1;
    }
    char buf[32];
    char* end = buf + sizeof buf;
    char* p = end;
    const bool negative = units < 0;
    std::uint64_t n =
        negative ? static_cast<std::uint64_t>(-units) : static_cast<std::uint64_t>(units);
    int digits = 0;
    bool trailing = true; // only zeros seen so far among the decimals: they are dropped
    for (; digits < decimals; ++digits, n /= 10) {
        const char c = static_cast<char>('0' + n % 10);
        if (trailing && c == '0') continue;
        trailing = false;
        *--p = c;
    }
    if (!trailing) *--p = '.';
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (negative) *--p = '-';
    return std::copy(p, end, at);
}

} // namespace

char* writeSvgNumber(char* at, double v, int decimals) {
    if (!std::isfinite(v)) {
        *at = '0';
        return at + 1;
    }
    if (char* end = writeScaled(at, v, decimals)) return end;
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

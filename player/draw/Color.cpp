#include "player/draw/Color.h"

#include "player/util/TextUtil.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace plotara::player {

namespace {

// The built-in series colours, in the order documents expect.
constexpr std::array<std::uint32_t, 23> baseColors = {
    0xAFD8F8, 0xF6BD0F, 0x8BBA00, 0xFF8E46, 0x008E8E, 0xD64646, 0x8E468E, 0x588526,
    0xB3AA00, 0x008ED6, 0x9D080D, 0xA186BE, 0xCC6600, 0xFDC689, 0xABA000, 0xF26D7D,
    0xFFF200, 0x0054A6, 0xF7941C, 0xCC3300, 0x006600, 0x663300, 0x6DCFF6};
} // namespace

Color rgb(std::uint32_t v) {
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0, 1.0};
}

Color parseColor(std::string_view text, Color fallback) {
    text = trimSpace(text);
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 6 && text.size() != 3) return fallback;
    std::uint32_t v = 0;
    for (char c : text) {
        int d = hexDigit(c);
        if (d < 0) return fallback;
        v = v * 16 + static_cast<std::uint32_t>(d);
        if (text.size() == 3) v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return rgb(v);
}

Color withAlpha(Color c, double percent) {
    c.a = std::clamp(percent, 0.0, 100.0) / 100.0;
    return c;
}

Color shade(Color c, double factor) {
    if (factor <= 1) {
        c.r *= factor;
        c.g *= factor;
        c.b *= factor;
    } else {
        double t = std::min(factor - 1, 1.0);
        c.r += (1 - c.r) * t;
        c.g += (1 - c.g) * t;
        c.b += (1 - c.b) * t;
    }
    return c;
}

namespace {
double luminance(Color c) {
    auto channel = [](double v) {
        v = std::clamp(v, 0.0, 1.0);
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}
} // namespace

double contrast(Color a, Color b) {
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color legibleOn(Color c, Color background, double ratio) {
    if (contrast(c, background) >= ratio) return c;
    // Towards black on light backgrounds, towards white on dark ones.
    double target = luminance(background) > 0.18 ? 0 : 1;
    for (double t = 0.05; t < 1; t += 0.05) {
        Color d{c.r + (target - c.r) * t, c.g + (target - c.g) * t, c.b + (target - c.b) * t, c.a};
        if (contrast(d, background) >= ratio) return d;
    }
    return Color{target, target, target, c.a};
}

std::string hexOf(Color c) {
    auto byte = [](double x) { return static_cast<int>(std::clamp(x, 0.0, 1.0) * 255 + 0.5); };
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", byte(c.r), byte(c.g), byte(c.b));
    return buf;
}

Color seriesColor(int palette, std::size_t index) {
    // Each palette starts the same list at another place, so charts of one application can be
    // told apart while keeping well-separated neighbours.
    static constexpr std::array<std::size_t, 5> offsets = {0, 9, 3, 17, 12};
    std::size_t p = (palette >= 1 && palette <= 5) ? static_cast<std::size_t>(palette - 1) : 0;
    return rgb(baseColors[(index + offsets[p]) % baseColors.size()]);
}

PaletteTheme paletteTheme(int palette) {
    switch (palette) {
    case 2:
        return {rgb(0xEEF3F8), rgb(0xFFFFFF), rgb(0x8A9BB0), rgb(0xC6D1DD),
                rgb(0xF3F6F9), rgb(0x1F2D3D), rgb(0x5A6B7F)};
    case 3:
        return {rgb(0xF8F3EA), rgb(0xFFFDF8), rgb(0xA89A80), rgb(0xDDD3C0),
                rgb(0xF7F1E6), rgb(0x3B3024), rgb(0x7A6A52)};
    case 4:
        return {rgb(0xEEF6EE), rgb(0xFFFFFF), rgb(0x86A586), rgb(0xC9DCC9),
                rgb(0xF2F8F2), rgb(0x1F3A1F), rgb(0x557755)};
    case 5:
        return {rgb(0xF2F2F2), rgb(0xFFFFFF), rgb(0x999999), rgb(0xD6D6D6),
                rgb(0xF5F5F5), rgb(0x222222), rgb(0x666666)};
    default:
        return {rgb(0xFFFFFF), rgb(0xFFFFFF), rgb(0x9A9A9A), rgb(0xD9D9D9),
                rgb(0xF7F7F7), rgb(0x333333), rgb(0x666666)};
    }
}

} // namespace plotara::player

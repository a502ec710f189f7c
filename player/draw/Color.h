// Colours as the chart XML writes them ("AFD8F8", "#F00") and the series palettes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plotara::player {

struct Color {
    double r = 0, g = 0, b = 0, a = 1;
    bool operator==(const Color&) const = default;
};

// Parses "RRGGBB", "#RRGGBB" or "RGB"; the fallback for anything else. Cannot fail.
Color parseColor(std::string_view text, Color fallback);
// A colour from 0xRRGGBB. Cannot fail.
Color rgb(std::uint32_t value);
// The colour with an alpha given in per cent (0-100, clamped). Cannot fail.
Color withAlpha(Color c, double percent);
// factor < 1 darkens, > 1 lightens towards white. Cannot fail.
Color shade(Color c, double factor);
// The contrast ratio of two opaque colours by their relative luminance (1 to 21). Cannot fail.
double contrast(Color a, Color b);
// The colour darkened just enough to reach the contrast ratio against the background (black
// when even that cannot); unchanged when it already does. Alpha is kept. Cannot fail.
Color legibleOn(Color c, Color background, double ratio = 3);
// "RRGGBB" of a colour (alpha left out). Cannot fail.
std::string hexOf(Color c);

// The series colours of a palette number (1 to 5; anything else uses 1), index wraps. Cannot
// fail.
Color seriesColor(int palette, std::size_t index);

// The background and frame colours of a palette.
struct PaletteTheme {
    Color background, canvas, canvasBorder, divLine, altBand, text, axisLine;
};
// The theme of a palette number (1 to 5; anything else uses 1). Cannot fail.
PaletteTheme paletteTheme(int palette);

} // namespace plotara::player

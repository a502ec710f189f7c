// Text items as SVG <text> elements: real characters in the pinned font family, placed and
// turned as the item says, with the measured advance as textLength so that the line covers the
// same width in any viewer, whatever font it finds.
#pragma once

#include "player/draw/Scene.h"
#include "player/draw/TextEngine.h"

#include <string>

namespace plotara::player {

// The share of a line's logical height above the baseline in the pinned DejaVu fonts (ascender
// 1901 and descender 483 of 2048 units in every face); the text engine measures a line as
// ascender plus descender.
inline constexpr double svgAscentShare = 1901.0 / (1901.0 + 483.0);

// The CSS font-family list for text measured with the given family (the pinned font the text
// engine draws a chart font with, so a viewer shows what the PNG shows): that family, then its
// generic family; "" stands for DejaVu Sans. Quotes and backslashes in a family name are
// escaped and control characters become spaces. Cannot fail.
std::string svgFontFamily(std::string_view family);

// Appends the <text> element of a placed item (nothing for an empty text). Cannot fail beyond
// allocation.
void appendSvgText(std::string& out, const TextItem& item, TextEngine& engine);

} // namespace plotara::player

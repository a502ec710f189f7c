// The small pieces every SVG element is made of: numbers, colours and text that comes from
// chart data, written so that any text a label holds stays text (never markup) in the document.
#pragma once

#include "player/draw/Color.h"

#include <string>
#include <string_view>

namespace plotara::player {

// Appends v with at most `decimals` decimals, trailing zeros and "-0" dropped; non-finite values
// as 0, magnitudes beyond 1e15 in exponent notation. Cannot fail beyond allocation.
void appendSvgNumber(std::string& out, double v, int decimals = 2);
// The most characters a number takes as appendSvgNumber writes it.
inline constexpr int maxSvgNumber = 40;
// Writes v as appendSvgNumber does at `at`, which has room for maxSvgNumber characters; returns
// the end of what it wrote. Cannot fail.
char* writeSvgNumber(char* at, double v, int decimals = 2);

// Appends ` name="rgb(R,G,B)"` (8-bit channels, clamped) and ` name-opacity="A"` when the colour
// is not opaque. Cannot fail beyond allocation.
void appendSvgPaint(std::string& out, std::string_view name, const Color& c);

// Appends text as XML character data that is also safe inside a double- or single-quoted
// attribute: & < > " ' become entity references, tab, line feed and carriage return character
// references, and what XML cannot carry (other control characters, bytes that are not UTF-8,
// U+FFFE and U+FFFF) U+FFFD. Cannot fail beyond allocation.
void appendXmlText(std::string& out, std::string_view text);

} // namespace plotara::player

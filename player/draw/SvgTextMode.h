// How an SVG document carries its texts.
#pragma once

#include <cstdint>

namespace plotara::player {

// Text: <text> elements in the pinned font family with the measured advance (searchable,
// selectable, read by screen readers, small). Paths: glyph outlines, the same in a viewer that
// lacks the font.
enum class SvgTextMode : std::uint8_t { Text, Paths };

} // namespace plotara::player

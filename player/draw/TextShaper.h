// One line of text shaped with HarfBuzz into positioned glyphs, in visual order, ellipsized to a
// width when asked.
#pragma once

#include "player/draw/FontSet.h"

#include <string_view>
#include <vector>

namespace plotara::player {

struct ShapedGlyph {
    unsigned index = 0;      // glyph index in its run's face
    std::size_t cluster = 0; // the first code point of the text it draws
    double x = 0, y = 0; // pen position in pixels from the line's left end on the baseline (y down)
};

struct GlyphRun {
    FaceChoice face;
    std::vector<ShapedGlyph> glyphs;
    double x = 0, width = 0; // where the run starts and how far it advances
};

struct ShapedLine {
    std::vector<GlyphRun> runs;     // left to right
    double width = 0;               // the sum of the advances
    double ascent = 0, descent = 0; // the largest of the faces used, or the primary face's
};

// Shapes the text at the given pixel size (maxWidth > 0: the longest beginning that fits with an
// ellipsis "…" after it, or the ellipsis alone; an ellipsized line is maxWidth wide, the room left
// over lying just after the ellipsis, so right-to-left text keeps its right end in place).
// Characters no font has are drawn as the primary face's missing-glyph box; with no face at all the
// line is empty with no height. Cannot fail.
ShapedLine shapeLine(FontSet& fonts, std::string_view text, const FaceChoice& primary, bool bold,
                     bool italic, double size, double maxWidth);

} // namespace plotara::player

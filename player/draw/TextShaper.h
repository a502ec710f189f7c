// One line of text shaped with HarfBuzz into positioned glyphs, in visual order, ellipsized to a
// width when asked.
#pragma once

#include "player/draw/FontSet.h"

#include <string>
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

// A text as it fits a width: the whole text, or its longest beginning that fits with an ellipsis
// "…" after it (the ellipsis alone when nothing more fits).
struct FittedText {
    std::string text;
    bool shortened = false;
};
// The text as it fits maxWidth at the given pixel size (whole when maxWidth <= 0). A cut never
// separates a character from the marks, joiners and selectors that belong to it. Cannot fail.
FittedText fitLine(FontSet& fonts, std::string_view text, const FaceChoice& primary, bool bold,
                   bool italic, double size, double maxWidth);
// Shapes a text that fitLine shortened to width, its ellipsis (the last character) widened so
// that the line is width wide, the room left over lying just after the ellipsis (right-to-left
// text keeps its right end in place). Cannot fail.
ShapedLine shapeShortened(FontSet& fonts, std::string_view shortened, const FaceChoice& primary,
                          bool bold, bool italic, double size, double width);

// Shapes the text at the given pixel size (maxWidth > 0: the longest beginning that fits with an
// ellipsis "…" after it, or the ellipsis alone; an ellipsized line is maxWidth wide, the room left
// over lying just after the ellipsis, so right-to-left text keeps its right end in place).
// Characters no font has are drawn as the primary face's missing-glyph box; with no face at all the
// line is empty with no height. Cannot fail.
ShapedLine shapeLine(FontSet& fonts, std::string_view text, const FaceChoice& primary, bool bold,
                     bool italic, double size, double maxWidth);

} // namespace plotara::player

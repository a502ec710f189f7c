// Long polylines as a web page's picture holds them. A browser strokes a path again for every
// tile of the picture it rasterises, and the round joins of thousands of segments a few
// hundredths of a pixel apart made that most of a dense line page's first paint (a 10,000-point
// line: 8 tiles of 800 x 500, each stroking 20,000 segments). So the page keeps, of the points
// of a line that fall in one pixel column one after another, the first, the highest, the lowest
// and the last: the stroke covers the same span of the column. An opaque line goes out in
// pieces that overlap by one segment (as the raster canvas strokes it, so every join is drawn
// whole), which a tile strokes only where they lie. The SVG file keeps every point.
#pragma once

#include "player/draw/Geometry.h"

#include <string>

namespace plotara::player {

// Whether the page writes the path with appendPageLine: moves and lines only, and long. Cannot
// fail.
bool isPageLine(const Path& path);

// Appends the line's points, thinned to the pixel columns, as path elements `<path d="…"/>`:
// several pieces when `pieces` (an opaque stroke, drawn twice where pieces overlap), else one.
// The elements carry no paint: they take it from the group they go in. Cannot fail beyond
// allocation.
void appendPageLine(std::string& out, const Path& path, bool pieces);

} // namespace plotara::player

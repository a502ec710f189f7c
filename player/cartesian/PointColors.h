// The colours a line's or area's own sets give it: a set's `color` colours the stretch of the
// shape nearest its point, from halfway to the previous point to halfway to the next.
#pragma once

#include "player/cartesian/PlotGeometry.h"

#include <cstddef>
#include <vector>

namespace plotara::player {

// The colour of point i: its set's `color`, or the series' colour when the set gives none or
// one that cannot be read. Cannot fail.
Color pointColor(const PlotSeries& s, std::size_t i);

// True when some point of the series gives its own colour. Cannot fail.
bool hasPointColors(const PlotSeries& s);

// A stretch of consecutive points of one colour in a chain: points first to last.
struct ColorStretch {
    std::size_t first = 0, last = 0;
    Color color;
};

// The chain's points grouped into stretches of one colour, in order; one stretch when all
// colours are the same, none for an empty chain. Cannot fail.
std::vector<ColorStretch> colorStretches(const std::vector<Color>& colors);

// The part of the chain a stretch covers: from halfway between the point before it and its
// first point (its first point when it starts the chain) through its points to halfway to the
// next point (its last point when it ends the chain). Cannot fail.
std::vector<Point> stretchPoints(const std::vector<Point>& chain, const ColorStretch& stretch);

} // namespace plotara::player

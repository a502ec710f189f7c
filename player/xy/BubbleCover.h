// How much light still comes through the bubbles drawn over each unit cell of a plot: the
// bubble chart skips a bubble that would change no pixel under the bubbles drawn over it.
#pragma once

#include "player/draw/Geometry.h"

#include <vector>

namespace plotara::player {

// The light behind each unit cell of the plot that still comes through the bubbles above: 1
// for an uncovered cell, the product of (1 - alpha) of every bubble covering it whole.
class BubbleCover {
public:
    // Every cell of the plot uncovered; clip: the bubbles are clipped to the plot. Cannot fail.
    BubbleCover(const Rect& plot, bool clip);
    // Whether a disc of the radius (its border included) would change some cell by half a
    // level of 255 or more: it touches a cell that enough light still reaches, or, unclipped,
    // reaches outside the plot. Cannot fail.
    bool shows(Point c, double radius) const;
    // Dims the cells that a disc of the radius and fill alpha covers whole. Cannot fail.
    void cover(Point c, double radius, double alpha);

private:
    template <class Self, class Inside, class Outside>
    static void visit(Self& self, Point c, double radius, Inside inside, Outside outside);

    int x0_, y0_, w_, h_;
    bool clip_;
    std::vector<float> light_;
};

} // namespace plotara::player

// What the player writes into cairo's SVG itself, as cairo is slow at it (it records, analyses
// and replays every operation, and formats every number with printf): large marker sets, whose
// shape is written once and reused by every point (<use>), and long polylines.
#pragma once

#include "player/draw/Scene.h"

#include <string>
#include <vector>

typedef struct _cairo cairo_t;

namespace plotara::player {

class SvgDirect {
public:
    // Takes the marker set over for writing and draws a placeholder on cr in its place, so the set
    // keeps its place in the painting order and its clip. The placeholder covers the clip (cairo
    // drops a clip that an element lies within). false when the set cannot be taken (too many
    // sets); the caller then draws it. Cannot fail otherwise.
    bool defer(cairo_t* cr, const MarkerItem& item, const Rect* clip);
    // The same for a stroked (not filled) path of moves and lines only; false for other shapes.
    bool defer(cairo_t* cr, const ShapeItem& item, const Rect* clip);
    // Replaces every placeholder of the finished SVG text with its marker set; false when one is
    // missing (the caller then draws the scene with cairo alone). Cannot fail.
    bool substitute(std::string& svg) const;
    bool empty() const { return sets_.empty(); }

private:
    struct Deferred {
        const MarkerItem* item; // a marker set, or
        const ShapeItem* shape; // a polyline
        Rect clip;
        bool clipped;
    };
    bool placeholder(cairo_t* cr, Deferred d, Rect extent);
    void write(std::string& out, std::size_t index) const;
    void writePath(std::string& out, const ShapeItem& shape) const;
    std::vector<Deferred> sets_;
};

} // namespace plotara::player

// Large marker sets in SVG output: the marker's shape is written once and every point reuses it
// (<use>), instead of cairo writing each marker's outline (and recording, analysing and replaying
// every one of them on its way to the file).
#pragma once

#include "player/draw/Scene.h"

#include <string>
#include <vector>

typedef struct _cairo cairo_t;

namespace plotara::player {

class SvgMarkers {
public:
    // Takes the marker set over for writing and draws a placeholder on cr in its place, so the set
    // keeps its place in the painting order and its clip. The placeholder covers the clip (cairo
    // drops a clip that an element lies within). false when the set cannot be taken (too many
    // sets); the caller then draws it. Cannot fail otherwise.
    bool defer(cairo_t* cr, const MarkerItem& item, const Rect* clip);
    // Replaces every placeholder of the finished SVG text with its marker set; false when one is
    // missing (the caller then draws the scene with cairo alone). Cannot fail.
    bool substitute(std::string& svg) const;
    bool empty() const { return sets_.empty(); }

private:
    struct Deferred {
        const MarkerItem* item;
        Rect clip;
        bool clipped;
    };
    void write(std::string& out, std::size_t index) const;
    std::vector<Deferred> sets_;
};

} // namespace plotara::player

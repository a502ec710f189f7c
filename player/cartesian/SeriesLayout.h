// What the layout of a cartesian chart decides for its series before anything is drawn: where
// every column lands, the lines' paths and anchors, the areas' polygons, the points' hit circles
// and the value labels they offer. The drawing steps walk these onto the scene.
#pragma once

#include "player/cartesian/PointLayout.h"

#include <cstdint>
#include <vector>

namespace plotara::player {

// One column or bar where the layout put it, with its series and fill as positions in the
// layout's tables (a chart has few series and few fills); its edge and the box that answers hits
// (3D faces included) follow from these, so a chart of a million columns keeps 48 bytes a
// column.
struct ColumnBox {
    Rect rect;
    std::uint32_t index;  // the point's position in its series
    std::uint32_t series; // in ColumnLayout::series
    std::uint32_t fill;   // in ColumnLayout::fills
};

// The stack of one category and column slot: its total and the top of its highest column.
struct StackSum {
    double total = 0;
    bool any = false;
    Rect top;
    double topValue = -1e308;
};

// Where every column lands, category by category (so that 3D prisms overlap front to back),
// and the stacks' totals.
struct ColumnLayout {
    std::vector<ColumnBox> boxes;
    std::vector<const PlotSeries*> series; // the column series, as the boxes name them
    std::vector<Color> fills;              // the boxes' fills, each once

    const PlotSeries& seriesOf(const ColumnBox& b) const { return *series[b.series]; }
    Color fillOf(const ColumnBox& b) const { return fills[b.fill]; }
    std::vector<StackSum> sums;
    bool anyStack = false;
    double width = 0; // of one column
};

// A part of a line drawn in one colour: its path and look.
struct LinePiece {
    Path path;
    Stroke stroke;
    Color edge; // a darker edge under a light line; the line's own colour when none is needed
};

// One line where the layout put it: its pieces (one unless its sets give their own colours),
// its anchors, its points' hit circles and the value labels it offers.
struct LineTrace {
    std::vector<LinePiece> pieces;
    std::size_t traced = 0;          // points on the path, the neighbours outside a window included
    std::vector<MarkerItem> markers; // anchors, one item for each run of one border colour
    std::vector<PointSpot> spots;
    std::vector<ValueOffer> labels;
};

// One run of consecutive values of an area: its polygon, the edges along its top and bottom,
// the part of the polygon inside the plot that answers hits, and, when its sets give their own
// colours, the colour of each point of the top edge.
struct AreaRun {
    std::vector<Point> polygon, top, bottom, shown;
    std::vector<Color> colors;
};

// One area where the layout put it: its runs, colours, points' hit circles and value labels.
struct AreaShape {
    const PlotSeries* series = nullptr;
    Color fill, edge;
    std::vector<AreaRun> runs;
    std::vector<PointSpot> spots;
    std::vector<ValueOffer> labels;
};

// The series of a cartesian chart as laid out, each kind in the order it is drawn.
struct SeriesLayout {
    std::vector<AreaShape> areas;
    ColumnLayout columns;
    std::vector<LineTrace> lines;
};

} // namespace plotara::player

// The chart families: each draws a ChartModel into a Scene through the shared ChartContext. The
// cartesian and XY entry points are here; the pie's and the grid's in pie/PieChart.h and
// grid/GridChart.h.
#pragma once

#include "player/detail/ChartMovie.h"
#include "player/layout/Frame.h"

#include <span>

namespace plotara::player {

// Per-player state a family reads and updates (scroll position of scroll charts).
struct ViewState {
    std::size_t scrollStart = 0;
    std::size_t scrollVisible = 0; // out: categories shown at once (0: no scroll bar)
    std::size_t scrollTotal = 0;   // out: all categories
    bool positioned = false;       // scrollPosition applied (on the first drawing only)
    std::size_t categories = 0;    // out: the categories of a cartesian chart
};

// Column, bar, line and area charts in every series mode, combinations, dual axes and scroll
// charts. Returns false when the document has nothing this family can draw; cannot fail.
bool renderCartesian(ChartContext& ctx, const ChartMovie& movie, ViewState& view);
// Scatter and bubble charts. Returns false when the document has nothing this family can draw;
// cannot fail.
bool renderXY(ChartContext& ctx, const ChartMovie& movie);
// Fills in the series, label, value and tool text of the column, bar, anchor and area points'
// hit regions that leave them to be worked out (lazyText), which the chart does not do while
// drawing. The number formats are read once for all of them.
void describeCategoryPoints(const ChartModel& model, bool dualY, std::span<HitRegion> hits);
// Fills in the label, value, tool text and link of the scatter points' hit regions that leave
// them to be worked out (lazyText), the number formats read once for all of them.
void describeXYPoints(const ChartModel& model, std::span<HitRegion> hits);

} // namespace plotara::player

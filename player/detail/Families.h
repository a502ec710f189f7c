// The chart families: each draws a ChartModel into a Scene through the shared ChartContext. The
// cartesian and XY entry points are here; the pie's and the grid's in pie/PieChart.h and
// grid/GridChart.h.
#pragma once

#include "player/detail/ChartMovie.h"
#include "player/layout/Frame.h"

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
// Fills in the series, label, value and tool text of a column, bar, anchor or area point's hit
// region, which the chart leaves out while drawing.
void describeCategoryPoint(const ChartModel& model, bool dualY, HitRegion& hit);
// Fills in the label, value, tool text and link of a scatter point's hit region, which the
// chart leaves out while drawing.
void describeXYPoint(const ChartModel& model, HitRegion& hit);

} // namespace plotara::player

// The three ways a cartesian series is laid out and drawn; each family folder implements one.
#pragma once

#include "player/cartesian/SeriesLayout.h"

namespace plotara::player {

struct SeriesStyle {
    bool threeD = false;
    bool showPlotBorder = true;
    int columnSlots = 1;    // columns side by side in one category
    double plotSpace = 0.7; // share of a category's width the columns take
    bool showSum = false;   // totals over stacks
    NumberFormat primaryFormat, secondaryFormat;
    const std::vector<Category>* categories = nullptr;
    std::size_t totalSeries = 1;
};

// Fills in what identifies a point's hit region (series, point, link); its label, value and
// tool text are worked out only when someone asks (describeCategoryPoints). Cannot fail.
void markPoint(HitRegion& hit, const PlotSeries& s, std::size_t i);

// Where every column (or bar) lands and the stacks' totals. Cannot fail.
ColumnLayout layoutColumns(const ChartContext& ctx, const PlotGeometry& g,
                           const std::vector<PlotSeries>& series, const SeriesStyle& style);
// The lines' paths, anchors, hit circles and value-label offers. Cannot fail.
std::vector<LineTrace> layoutLines(const ChartContext& ctx, const PlotGeometry& g,
                                   const std::vector<PlotSeries>& series, const SeriesStyle& style);
// The areas' polygons, hit circles and value-label offers. Cannot fail.
std::vector<AreaShape> layoutAreas(const PlotGeometry& g, const std::vector<PlotSeries>& series,
                                   const SeriesStyle& style);

// Offers the columns' value labels, and the stacks' totals under showSum. Cannot fail.
void offerColumnValues(ValueLabels& values, const PlotGeometry& g, const SeriesStyle& style,
                       const ColumnLayout& columns);
// Makes each column an obstacle that only its own label may cover; needed only when some label
// was offered, as obstacles matter only when the offers are settled. Cannot fail.
void addColumnObstacles(ValueLabels& values, const PlotGeometry& g, const SeriesStyle& style,
                        const ColumnLayout& columns);

// Columns (or bars) as laid out, flat or as prisms with shaded faces, and their hit regions.
// Cannot fail.
void drawColumns(ChartContext& ctx, const PlotGeometry& g, const SeriesStyle& style,
                 const ColumnLayout& columns);
// Lines as laid out (the traces are moved into the scene), anchors and hit circles. Cannot
// fail.
void drawLines(ChartContext& ctx, std::vector<LineTrace>& lines);
// Filled areas as laid out, stacked on their bases, and their hit regions. Cannot fail.
void drawAreas(ChartContext& ctx, std::vector<AreaShape>& areas, bool border);

// Stack bases and column slots; returns the number of column slots per category. Cannot fail
// beyond running out of memory.
int arrangeStacks(std::vector<PlotSeries>& series, std::size_t categories);
// A transition's frame: every value moved to where it stands now (from the axis' base line, or
// from its value in the chart before; series and points the chart before had and this one lacks
// shrink out to the base line), the stacks built again on the moved values so that they keep
// their order; columns side by side entering widen from nothing and leaving narrow to nothing.
// The value axes ease in the frame's layout. Returns the column slots per category. Cannot fail
// beyond running out of memory.
int moveSeries(const ChartContext& ctx, const PlotGeometry& g, std::vector<PlotSeries>& series,
               std::size_t categories);

} // namespace plotara::player

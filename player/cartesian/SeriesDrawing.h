// The three ways a cartesian series is drawn; each family folder implements one.
#pragma once

#include "player/cartesian/PlotGeometry.h"
#include "player/layout/Frame.h"

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
// tool text are worked out only when someone asks (describeCategoryPoint). Cannot fail.
void markPoint(HitRegion& hit, const PlotSeries& s, std::size_t i);

// Columns (or bars), flat or as prisms with shaded faces. Cannot fail.
void drawColumns(ChartContext& ctx, const PlotGeometry& g, const std::vector<PlotSeries>& series,
                 const SeriesStyle& style, ValueLabels& values);
// Lines with anchors. Cannot fail.
void drawLines(ChartContext& ctx, const PlotGeometry& g, const std::vector<PlotSeries>& series,
               const SeriesStyle& style, ValueLabels& values);
// Filled areas, stacked on their bases. Cannot fail.
void drawAreas(ChartContext& ctx, const PlotGeometry& g, const std::vector<PlotSeries>& series,
               const SeriesStyle& style, ValueLabels& values);

} // namespace plotara::player

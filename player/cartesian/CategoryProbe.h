// The crosshair of line and area charts: the category nearest to a point in the plot and every
// shown series' point at it, read from the laid-out chart without drawing anything.
#pragma once

#include "player/draw/HitRegion.h"
#include "player/layout/ChartLayout.h"
#include "player/layout/SeriesFilter.h"
#include "player/model/ChartModel.h"

#include <optional>
#include <vector>

namespace plotara::player {

struct CategoryProbe {
    std::size_t index = 0; // the category
    double x = 0;          // its centre across the plot
    Rect plot;
    std::vector<HitRegion> points; // one per shown series with a value there, texts described
};

// The category whose slot holds at.x when at lies in the plot, with the points of the series
// not hidden (datasets, then line sets) that have a value there. Nothing outside the plot or for
// a chart without a category plot. Cannot fail beyond running out of memory.
std::optional<CategoryProbe> probeCategory(const ChartModel& model, const ChartLayout& layout,
                                           bool dualY, const SeriesFilter& hidden, Point at);

} // namespace plotara::player

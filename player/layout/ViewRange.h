// What the viewer chose to see of a chart: the series hidden from its legend and the part of
// the axes zoomed to. The families read it where they build their series and scales; without
// choices (the default) every chart is laid out as its document says.
#pragma once

#include "player/layout/SeriesFilter.h"

#include <optional>
#include <utility>

namespace plotara::player {

// A zoomed part of a chart. Category charts zoom x only, in category indexes: the first and the
// last category shown. XY charts zoom x and y in axis values. An axis without a range shows all.
struct ViewRange {
    std::optional<std::pair<double, double>> x, y;
    bool whole() const { return !x && !y; }
};

struct ViewOptions {
    SeriesFilter hidden;
    ViewRange range;
};

} // namespace plotara::player

// The chart document as data: what the chart XML says, apart from how it is drawn.
#pragma once

#include "player/model/Attributes.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace plotara::player {

inline constexpr double missingValue = std::numeric_limits<double>::quiet_NaN();
inline bool isMissing(double v) {
    return std::isnan(v);
}

struct DataPoint {
    double value = missingValue; // NaN when the set has no usable value
    Attributes attrs;            // label, color, alpha, link, toolText, displayValue, ...
                                 // (the coordinates value, x, y and z only as numbers)
};

// A set with a position; its other attributes are those of the series' points[point].
struct XYPoint {
    double x = missingValue, y = missingValue, z = missingValue;
    std::size_t point = 0;
};

struct Category {
    std::string label;
    Attributes attrs; // x (XY charts), showVerticalLine, toolText, ...
};

struct Series {
    std::string name;
    Attributes attrs; // color, alpha, renderAs, parentYAxis, showValues, anchor*, ...
    std::vector<DataPoint> points;
    std::vector<XYPoint> xy;

    // The attributes of a positioned set. Cannot fail.
    const Attributes& attrsOf(const XYPoint& p) const { return points[p.point].attrs; }
    int stack = -1; // stack group of a multi-series stacked chart, -1 otherwise
};

// A vertical separator line between categories: it stands after category `after`.
struct VLine {
    std::size_t after = 0;
    Attributes attrs;
};

struct TrendLine {
    double start = missingValue, end = missingValue; // end == start for a line
    bool zone = false;
    Attributes attrs; // color, thickness, alpha, displayValue, valueOnRight, dashed, ...
};

struct StyleDefinition {
    std::string name; // lower case
    std::string type; // lower case: font, ...
    Attributes attrs;
};

struct ChartModel {
    std::string rootName; // "chart" or "graph"
    Attributes chart;
    Attributes categoriesAttrs;
    std::vector<Category> categories;
    std::vector<Series> datasets;
    std::vector<Series> linesets;
    std::vector<VLine> vlines;
    std::vector<TrendLine> trendlines;  // horizontal (value axis): trendlines and hTrendlines
    std::vector<TrendLine> vtrendlines; // vertical (x axis of XY charts, categories otherwise)
    std::vector<StyleDefinition> styles;
    std::vector<std::pair<std::string, std::string>> applications; // object -> style, lower case
    bool singleSeries = false; // the document wrote <set> elements directly under <chart>
    int stackCount = 0;

    // True when at least one plottable value exists.
    bool hasData() const;
};

} // namespace plotara::player

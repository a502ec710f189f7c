// Where categories and values land on screen in a chart with a category axis and one or two
// value axes, upright (columns) or lying (bars).
#pragma once

#include "player/draw/Color.h"
#include "player/draw/Geometry.h"
#include "player/layout/NiceScale.h"
#include "player/model/ChartModel.h"

#include <algorithm>
#include <string>
#include <vector>

namespace plotara::player {

enum class PlotKind { Column, Line, Area };

// One series as the cartesian chart draws it.
struct PlotSeries {
    std::string name;
    Color color;
    double alpha = 100;
    PlotKind kind = PlotKind::Column;
    bool secondary = false;
    int stack = -1;   // stack group; -1 when not stacked
    int slot = 0;     // column slot within a category
    double width = 1; // the share of its column slot it takes: less while it enters or leaves
    bool perPointColors = false; // single-series columns: one colour per category
    bool showValues = true;
    int index = 0; // the series' position in the document
    const Series* source = nullptr;
    std::vector<double> values; // one per category, NaN where missing
    std::vector<double> base;   // stack base per category; empty when the series does not stack

    // The stack base of category i: 0 where the series does not stack. Cannot fail.
    double baseAt(std::size_t i) const { return i < base.size() ? base[i] : 0; }
};

struct PlotGeometry {
    Rect plot;
    bool horizontal = false;          // bars: categories top to bottom, values left to right
    std::size_t first = 0, count = 1; // visible window of categories
    AxisScale primary, secondary;
    bool hasSecondary = false;
    double depth = 0; // 3D look: depth of the plot, 0 for flat charts
    // A transition between charts whose categories differ: where each category's slot begins,
    // in slots (one more for the end of the last); empty when every category takes a whole slot.
    std::vector<double> edges;

    // The length of a whole slot along the category axis.
    double slot() const {
        const double n = edges.empty() ? static_cast<double>(count) : edges.back();
        return (horizontal ? plot.h : plot.w) / n;
    }
    // The length of category i's slot: a whole one, or its share while it enters or leaves.
    double slotOf(std::size_t i) const { return share(i) * slot(); }
    // The share of a slot category i takes: 1 but while it enters or leaves the chart.
    double share(std::size_t i) const {
        return i + 1 < edges.size() ? edges[i + 1] - edges[i] : 1.0;
    }
    bool visible(std::size_t i) const { return i >= first && i < first + count; }
    // Whether category i is entering or leaving the chart (takes part of a slot).
    bool partial(std::size_t i) const { return share(i) < 1; }
    // Takes the share of a slot each category takes (all categories shown); shares summing to
    // nothing leave the slots whole.
    void weigh(const std::vector<double>& shares) {
        edges.assign(1, 0.0);
        for (double w : shares)
            edges.push_back(edges.back() + w);
        if (!(edges.back() > 1e-9) || shares.size() != count) edges.clear();
    }
    // Screen coordinate of a category's centre along the category axis.
    double categoryPos(std::size_t i) const {
        double s = slot();
        double rel = (static_cast<double>(i) - static_cast<double>(first) + 0.5) * s;
        if (i + 1 < edges.size()) rel = (edges[i] + edges[i + 1]) / 2 * s;
        return horizontal ? plot.y + rel : plot.x + rel;
    }
    // Screen coordinate of a value along the value axis, held between the fractions low and high
    // of the axis (by default a little beyond the plot).
    double valuePos(double v, bool onSecondary, double low = -0.05, double high = 1.05) const {
        const AxisScale& a = onSecondary && hasSecondary ? secondary : primary;
        double f = a.fraction(v);
        if (f < low) f = low;
        if (f > high) f = high;
        return horizontal ? plot.x + f * plot.w : plot.bottom() - f * plot.h;
    }
    // The screen point of a category's value.
    Point at(std::size_t i, double v, bool onSecondary) const {
        double c = categoryPos(i), p = valuePos(v, onSecondary);
        return horizontal ? Point{p, c} : Point{c, p};
    }
    // The screen point of a category's value on a line or an area's edge: as `at`, but a value
    // off the value axis (the neighbour just outside a zoomed or scrolled window, a value past
    // the document's axis limits) is kept where it lies rather than just past the plot, so the
    // segment to it crosses the plot's edge, where the clip cuts it, at its own slope. Only
    // farther than `far` units beyond the plot is it held back (within reach of cairo's
    // fixed-point coordinates at any scale); the slope is then off by under slot * plot / far.
    Point edgeAt(std::size_t i, double v, bool onSecondary) const {
        constexpr double far = 1e5;
        const double reach = far / std::max(horizontal ? plot.w : plot.h, 1.0);
        double c = categoryPos(i), p = valuePos(v, onSecondary, -reach, 1 + reach);
        return horizontal ? Point{p, c} : Point{c, p};
    }
    // The rectangle between two values over a stretch [c0, c1] of the category axis.
    Rect span(double c0, double c1, double v0, double v1, bool onSecondary) const {
        double p0 = valuePos(v0, onSecondary), p1 = valuePos(v1, onSecondary);
        if (horizontal) return {std::min(p0, p1), c0, std::abs(p1 - p0), c1 - c0};
        return {c0, std::min(p0, p1), c1 - c0, std::abs(p1 - p0)};
    }
};

} // namespace plotara::player

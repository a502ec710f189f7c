// The layout step of scatter and bubble charts: the scales (widened for the markers), the plot,
// the tick and x labels, the trend labels and axis names; XYChart.cpp places the points' labels
// and draws what this lays out.
#pragma once

#include "player/detail/Families.h"
#include "player/layout/NiceScale.h"
#include "player/layout/NumberFormat.h"

#include <cmath>
#include <vector>

namespace plotara::player {

// The layout of a scatter or bubble chart: the scales, number formats and series colours, then
// the plot rectangle; drawing walks it.
struct XYLayout {
    bool bubble = false, logAxes = false, rotate = false;
    AxisScale xs, ys;
    NumberFormat xf, yf;
    int xd = 0;
    std::vector<Color> colors;
    std::size_t count = 0; // points with both coordinates
    double zmax = 0;
    Rect area, plot;
    double lineH = 0, labelExtent = 0;
    double trendRoom = 0; // right of the plot for the trend labels there (valueOnRight)
    double tickRoom = 0;  // how far the plot moved in to keep its last x tick label whole
    ScaleRequest xr, yr;  // the ranges asked of the axes: the data, widened for the markers
    double logBase = 10;
    TitleLayout titles;
    LegendLayout legend;
    std::vector<TextItem> axisTexts;       // tick and x labels, laid out with the plot
    std::vector<TextItem> valueTexts;      // the points' value labels as placed
    std::vector<TextItem> frontTexts;      // trend labels and axis names
    bool clip = true;                      // the points are clipped to the plot
    double maxR = 0;                       // the largest bubble's radius
    std::vector<std::vector<char>> hidden; // bubbles under others, per series; empty: none
    bool zoomed = false;                   // the axes run over the viewer's range
    bool xMoving = false,
         yMoving = false; // a transition frame: the axis eases, its ticks unlabelled

    // What the plot's edges stand for, in axis units (logarithms on logarithmic axes): the
    // axes' limits, reaching a little further where a marker on a limit needs room to lie whole.
    double xLo = 0, xHi = 1, yLo = 0, yHi = 1;

    // A value in axis units: its logarithm on a logarithmic axis (-inf or NaN when not positive).
    static double units(const AxisScale& a, double v) { return a.log ? std::log(v) : v; }
    double X(double v) const {
        return plot.x + (xHi > xLo ? (units(xs, v) - xLo) / (xHi - xLo) : 0) * plot.w;
    }
    double Y(double v) const {
        return plot.bottom() - (yHi > yLo ? (units(ys, v) - yLo) / (yHi - yLo) : 0) * plot.h;
    }
    // Ticks of a logarithmic axis are powers: each gets the digits its own size needs.
    static std::string tickText(const NumberFormat& f, const AxisScale& a, double v) {
        return a.log ? f.format(v, v < 1 ? decimalsForStep(v) : 0) : f.formatTick(v, a.step);
    }
    std::string yText(double v) const { return tickText(yf, ys, v); }
    std::string xText(double v) const { return tickText(xf, xs, v); }
};

// The value scales from the points, category x positions and trend lines; false when no point
// has both coordinates.
bool scaleXY(const ChartModel& m, XYLayout& l);
// The axes from the ranges asked of them (l.xr, l.yr).
void rescaleXY(XYLayout& l);
// The series colours, titles and legend, and the area they leave for the plot.
void placeXYFrame(ChartContext& ctx, XYLayout& l);
// The plot inside that area, with room for the tick labels, names and trend labels.
void placeXYPlot(ChartContext& ctx, XYLayout& l);
// What making room for the markers changed: nothing, the plot's edges (place the plot again),
// or the ranges asked of the axes (scale the axes and place the plot again).
enum class MarkerRoomChange { None, Edges, Limits };
// Lets the plot's edges reach past the axes' limits where a marker would reach past the plot,
// or widens the ranges asked of the axes where it needs more than half a step.
MarkerRoomChange widenForMarkers(const ChartContext& ctx, XYLayout& l);
// The y axis' tick labels and the layout's y ticks.
void layoutYTicks(ChartContext& ctx, XYLayout& l);
// The x labels (categories at their x, else ticks) and the layout's x ticks.
void layoutXLabels(ChartContext& ctx, XYLayout& l);
// The trend lines' and zones' labels and the axis names.
void layoutXYFrontTexts(ChartContext& ctx, XYLayout& l);
// A bubble's radius: its area follows |z|, at least 2 units.
double bubbleRadius(const XYLayout& l, const XYPoint& pt, double maxR);
// Whether a point has a place on the axes: both coordinates, positive on logarithmic axes.
bool hasPlace(const XYLayout& l, const XYPoint& pt);
// The radius of a scatter series' anchors.
double anchorRadius(const Attributes& chart, const Series& s);
// The largest bubble's radius for the plot and the number of bubbles.
double bubbleMaxR(const Attributes& c, const XYLayout& l);

} // namespace plotara::player

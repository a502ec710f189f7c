#include "player/xy/XYLayout.h"

#include "player/util/TextUtil.h"
#include "player/xy/MarkerRoom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace plotara::player {

namespace {
struct Extent {
    double lo = 1e308, hi = -1e308;
    void add(double v) { lo = std::min(lo, v), hi = std::max(hi, v); }
};
} // namespace

// The axes from the ranges asked of them: nice limits, or powers of the base on logarithmic
// axes; the document's limits win.
void rescaleXY(XYLayout& l) {
    if (l.logAxes) {
        l.xs = logScale(l.xr.dataMin, l.xr.dataMax, l.logBase, l.xr.userMin, l.xr.userMax);
        l.ys = logScale(l.yr.dataMin, l.yr.dataMax, l.logBase, l.yr.userMin, l.yr.userMax);
    } else {
        l.xs = niceScale(l.xr);
        l.ys = niceScale(l.yr);
    }
    l.xd = std::max(decimalsForStep(l.xs.step), 0);
    l.xLo = XYLayout::units(l.xs, l.xs.min);
    l.xHi = XYLayout::units(l.xs, l.xs.max);
    l.yLo = XYLayout::units(l.ys, l.ys.min);
    l.yHi = XYLayout::units(l.ys, l.ys.max);
}

// The value scales from the points, category x positions and trend lines; false when no point
// has both coordinates.
bool scaleXY(const ChartModel& m, XYLayout& l) {
    const Attributes& c = m.chart;
    Extent x, y, px, py; // px, py: the positive part, for logarithmic axes
    for (const Series& s : m.datasets) {
        for (const XYPoint& p : s.xy) {
            if (isMissing(p.x) || isMissing(p.y)) continue;
            x.add(p.x);
            y.add(p.y);
            if (!isMissing(p.z)) l.zmax = std::max(l.zmax, std::fabs(p.z));
            if (p.x > 0) px.add(p.x);
            if (p.y > 0) py.add(p.y);
            ++l.count;
        }
    }
    if (l.count == 0) return false;
    for (const Category& cat : m.categories) {
        if (auto cx = cat.attrs.optionalNumber("x")) x.add(*cx);
    }
    for (const TrendLine& t : m.trendlines) {
        y.add(t.start);
        y.add(t.end);
    }
    ScaleRequest& xr = l.xr;
    xr.dataMin = x.lo;
    xr.dataMax = x.hi;
    xr.includeZero = false;
    xr.userMin = c.optionalNumber("xaxisminvalue");
    xr.userMax = c.optionalNumber("xaxismaxvalue");
    if (auto n = c.optionalNumber("numvdivlines")) xr.numDivLines = static_cast<int>(*n);
    ScaleRequest& yr = l.yr;
    yr.dataMin = y.lo;
    yr.dataMax = y.hi;
    yr.includeZero = (y.lo >= 0 && y.lo < y.hi * 0.35) || !c.flag("setadaptiveymin", true);
    yr.userMin = c.optionalNumber("yaxisminvalue");
    yr.userMax = c.optionalNumber("yaxismaxvalue");
    if (auto n = c.optionalNumber("numdivlines")) yr.numDivLines = static_cast<int>(*n);
    l.logAxes = c.flag("logscale", false);
    if (l.logAxes) {
        l.logBase = c.number("logbase", 10);
        xr.dataMin = px.lo, xr.dataMax = px.hi;
        yr.dataMin = py.lo, yr.dataMax = py.hi;
    }
    l.yf = numberFormatOf(c);
    l.xf = l.yf;
    l.xf.prefix = c.text("xnumberprefix");
    l.xf.suffix = c.text("xnumbersuffix");
    rescaleXY(l);
    return true;
}

// The series colours, titles and legend (laid out by the shared frame), and the area they
// leave for the plot.
void placeXYFrame(ChartContext& ctx, XYLayout& l) {
    const ChartModel& m = ctx.model;
    const Attributes& c = m.chart;
    std::vector<LegendItem> legend;
    for (std::size_t d = 0; d < m.datasets.size(); ++d) {
        const Series& s = m.datasets[d];
        Color col = parseColor(s.attrs.text("color"), ctx.style.seriesColor(d));
        l.colors.push_back(col);
        const int index = static_cast<int>(d);
        if (!s.name.empty()) legend.push_back({s.name, col, false, index, ctx.hides(index)});
    }
    l.titles = layoutTitles(ctx, marginArea(ctx));
    l.area = l.titles.rest;
    if (c.flag("showlegend", m.datasets.size() > 1)) {
        l.legend = layoutLegend(ctx, legend, l.area);
        l.area = l.legend.rest;
    }
}

// How far the last x tick label, centred under the plot's right edge, would pass the picture's
// right edge: the plot moves in by that much so that the number stays whole and under its tick.
double lastTickOverhang(const ChartContext& ctx, const XYLayout& l, const Rect& plot) {
    if (l.rotate || !ctx.model.categories.empty()) return 0;
    const Font labelFont = ctx.style.font(TextRole::DataLabels);
    const double half = ctx.text.measure(l.xText(l.xs.tick(l.xs.divisions)), labelFont).w / 2;
    return std::max(0.0, plot.right() + half + 1 - ctx.width);
}

// The plot inside the area left by titles and legend: room for the tick labels, axis names, x
// labels and trend values on the right.
void placeXYPlot(ChartContext& ctx, XYLayout& l) {
    const ChartModel& m = ctx.model;
    const Attributes& c = m.chart;
    Font tickFont = ctx.style.font(TextRole::YAxisValues);
    l.lineH = ctx.text.measure("Ag", tickFont).h;
    double tickW = 0;
    for (int i = 0; i <= l.ys.divisions; ++i)
        tickW = std::max(tickW, ctx.text.measure(l.yText(l.ys.tick(i)), tickFont).w);
    Rect p = l.area;
    p.y += 6;
    p.h -= 6;
    if (!c.text("yaxisname").empty()) p.x += l.lineH + 6, p.w -= l.lineH + 6;
    p.x += tickW + 8;
    p.w -= tickW + 8 + 8;
    l.rotate = c.flag("rotatenames", false);
    l.labelExtent = l.lineH * 1.5 + 6;
    if (l.rotate) {
        Font labelFont = ctx.style.font(TextRole::DataLabels);
        double widest = 0;
        for (const Category& cat : m.categories)
            widest = std::max(widest, ctx.text.measure(cat.label, labelFont).w);
        for (int i = 0; m.categories.empty() && i <= l.xs.divisions; ++i)
            widest = std::max(widest, ctx.text.measure(l.xText(l.xs.tick(i)), labelFont).w);
        l.labelExtent = std::min(widest, l.area.h * 0.25) + 8;
    }
    p.h -= l.labelExtent;
    if (!c.text("xaxisname").empty()) p.h -= l.lineH + 8;
    // Labels of trend lines on the right: a column as wide as the widest, at most a quarter.
    Font trendFont = ctx.style.font(TextRole::TrendValues);
    l.trendRoom = 0;
    for (const TrendLine& t : m.trendlines) {
        std::string label = t.attrs.text("displayvalue");
        if (t.attrs.flag("valueonright", false) && !label.empty())
            l.trendRoom = std::max(l.trendRoom, ctx.text.measure(label, trendFont).w);
    }
    l.trendRoom = std::min(l.trendRoom, l.area.w * 0.25);
    if (l.trendRoom > 0) p.w -= std::max(0.0, l.trendRoom + 4 - 8);
    l.tickRoom = lastTickOverhang(ctx, l, p);
    p.w -= l.tickRoom;
    p.w = std::max(p.w, 10.0);
    p.h = std::max(p.h, 10.0);
    l.plot = p;
    ctx.scene.layout.plot = p;
}

// A bubble's radius: its area follows |z|, at least 2 units.
double bubbleRadius(const XYLayout& l, const XYPoint& pt, double maxR) {
    double z = isMissing(pt.z) ? 0 : std::fabs(pt.z);
    return l.zmax > 0 ? std::max(2.0, maxR * std::sqrt(z / l.zmax)) : 4;
}

// Whether a point has a place on the axes: both coordinates, positive on logarithmic axes.
bool hasPlace(const XYLayout& l, const XYPoint& pt) {
    if (isMissing(pt.x) || isMissing(pt.y)) return false;
    return !l.logAxes || (pt.x > 0 && pt.y > 0);
}

// The radius of a scatter series' anchors.
double anchorRadius(const Attributes& chart, const Series& s) {
    return std::clamp(s.attrs.number("anchorradius", chart.number("anchorradius", 3)), 1.0, 30.0);
}

// The largest bubble's radius: it takes less of the plot the more bubbles share it, so a few
// hundred stay apart instead of melting into one blob.
double bubbleMaxR(const Attributes& c, const XYLayout& l) {
    double share = 0.09 * std::sqrt(20.0 / std::max<double>(static_cast<double>(l.count), 20.0));
    return std::min(l.plot.w, l.plot.h) * std::max(share, 0.015) *
           std::clamp(c.number("bubblescale", 1), 0.1, 5.0);
}

// Where a marker (an anchor with its border, or a bubble) would reach past the plot's edge, lets
// that edge stand for a value a little beyond the axis' limit, so that the marker lies whole
// inside the plot while the ticks keep their round values (rounding a widened range instead
// would add a whole step: data from 0 to 100 would get an axis from -25 to 125). Only a marker
// that needs more than half a step (a large bubble) widens the range asked of the axis, to be
// rounded again, so that no long stretch of the axis goes without ticks. A limit the document
// sets stays the plot's edge; points outside the limits are not drawn and ask nothing.
MarkerRoomChange widenForMarkers(const ChartContext& ctx, XYLayout& l) {
    const ChartModel& m = ctx.model;
    const double maxR = bubbleMaxR(m.chart, l);
    auto drawn = [&l](const XYPoint& pt) {
        return !(!hasPlace(l, pt) || pt.x < l.xs.min || pt.x > l.xs.max || pt.y < l.ys.min ||
                 pt.y > l.ys.max);
    };
    // The anchors of a scatter series share one radius, so only its least and greatest position
    // on each axis can set a limit: those two stand for all of its markers, and markerLimits
    // (which may step many times) reads two values a series instead of every point. Bubbles
    // each have a radius of their own.
    struct Extremes {
        double xLo = HUGE_VAL, xHi = -HUGE_VAL, yLo = HUGE_VAL, yHi = -HUGE_VAL;
    };
    std::vector<Extremes> extremes(l.bubble ? 0 : m.datasets.size());
    for (std::size_t d = 0; d < extremes.size(); ++d) {
        Extremes& e = extremes[d];
        for (const XYPoint& pt : m.datasets[d].xy) {
            if (!drawn(pt)) continue;
            const double ux = axisUnits(l.xs, pt.x), uy = axisUnits(l.ys, pt.y);
            if (ux < e.xLo) e.xLo = ux;
            if (ux > e.xHi) e.xHi = ux;
            if (uy < e.yLo) e.yLo = uy;
            if (uy > e.yHi) e.yHi = uy;
        }
    }
    auto forEachMarker = [&](bool onX, auto visit) {
        for (std::size_t d = 0; d < m.datasets.size(); ++d) {
            const Series& s = m.datasets[d];
            const double anchor = anchorRadius(m.chart, s);
            if (!l.bubble) {
                const Extremes& e = extremes[d];
                const double lo = onX ? e.xLo : e.yLo, hi = onX ? e.xHi : e.yHi;
                if (lo <= hi) {
                    visit(lo, anchor + 2);
                    visit(hi, anchor + 2);
                }
                continue;
            }
            for (const XYPoint& pt : s.xy) {
                if (!drawn(pt)) continue;
                visit(onX ? axisUnits(l.xs, pt.x) : axisUnits(l.ys, pt.y),
                      bubbleRadius(l, pt, maxR) + 2);
            }
        }
    };
    auto fixed = [](double edge, const std::optional<double>& user) {
        return user ? std::optional<double>(edge) : std::nullopt;
    };
    auto [xLo, xHi] =
        markerLimits([&](auto visit) { forEachMarker(true, visit); }, l.plot.w, l.xHi - l.xLo,
                     fixed(l.xLo, l.xr.userMin), fixed(l.xHi, l.xr.userMax));
    auto [yLo, yHi] =
        markerLimits([&](auto visit) { forEachMarker(false, visit); }, l.plot.h, l.yHi - l.yLo,
                     fixed(l.yLo, l.yr.userMin), fixed(l.yHi, l.yr.userMax));
    // The edges only ever move outwards from the limits, never inside them.
    auto moveEdges = [](const AxisScale& a, ScaleRequest& r, double& edgeLo, double& edgeHi,
                        double lo, double hi) {
        if (lo > hi) return MarkerRoomChange::None;
        const double limLo = XYLayout::units(a, a.min), limHi = XYLayout::units(a, a.max);
        const double newLo = std::min(lo, limLo), newHi = std::max(hi, limHi);
        const double step = a.log ? std::log(a.step) : a.step;
        if (std::max(limLo - newLo, newHi - limHi) > step / 2 && widenRange(r, a, lo, hi))
            return MarkerRoomChange::Limits;
        const double eps = (limHi - limLo) * 1e-9;
        const bool moved = std::fabs(newLo - edgeLo) > eps || std::fabs(newHi - edgeHi) > eps;
        edgeLo = newLo;
        edgeHi = newHi;
        return moved ? MarkerRoomChange::Edges : MarkerRoomChange::None;
    };
    const auto x = moveEdges(l.xs, l.xr, l.xLo, l.xHi, xLo, xHi);
    const auto y = moveEdges(l.ys, l.yr, l.yLo, l.yHi, yLo, yHi);
    return std::max(x, y);
}

// The y axis' tick labels (thinned to keep a line apart) and the layout's ticks.
void layoutYTicks(ChartContext& ctx, XYLayout& l) {
    const Rect& p = l.plot;
    Font tickFont = ctx.style.font(TextRole::YAxisValues);
    int every = 1;
    while (p.h / std::max(l.ys.divisions, 1) * every < l.lineH * 1.2 && every < 1000)
        ++every;
    LayoutAxis& yAxis = ctx.scene.layout.axisFor("y");
    yAxis.min = fromAxisUnits(l.ys, l.yLo);
    yAxis.max = fromAxisUnits(l.ys, l.yHi);
    yAxis.log = l.ys.log;
    for (int i = 0; i <= l.ys.divisions; ++i) {
        LayoutTick tick;
        tick.value = l.ys.tick(i);
        if (i % every == 0 && !l.yMoving) {
            tick.label = l.yText(tick.value);
            TextItem text = placeText(ctx, {TextKind::Tick}, tick.label, tickFont, p.x - 5,
                                      l.Y(tick.value), HAlign::Right, VAlign::Middle);
            tick.box = text.box;
            if (!text.text.empty()) l.axisTexts.push_back(std::move(text));
        }
        yAxis.ticks.push_back(std::move(tick));
    }
}

// Where an x label stands against the picture's edges.
enum class EdgeFit : std::uint8_t { Inside, Moved, NoRoom };

// Moves a placed label sideways so that its box stays inside the picture (a tick label at the
// edge shifts inward rather than lose characters); NoRoom when the picture is too narrow for it.
EdgeFit keepInsidePicture(ChartContext& ctx, TextItem& label) {
    const double lo = 1, hi = ctx.width - 1;
    if (label.box.w > hi - lo || label.box.bottom() > ctx.height) return EdgeFit::NoRoom;
    const double shift = label.box.x < lo         ? lo - label.box.x
                         : label.box.right() > hi ? hi - label.box.right()
                                                  : 0;
    if (shift == 0) return EdgeFit::Inside;
    label.x += shift;
    ctx.text.place(label);
    return EdgeFit::Moved;
}

// The x labels at their positions: the categories (names, which may be shortened to stay
// inside the picture), else the ticks (numbers, never shortened: moved inward at the edges).
std::vector<std::pair<double, std::string>> xLabelTexts(const ChartModel& m, const XYLayout& l) {
    std::vector<std::pair<double, std::string>> xLabels;
    if (!m.categories.empty()) {
        for (const Category& cat : m.categories) {
            if (auto x = cat.attrs.optionalNumber("x")) xLabels.emplace_back(*x, cat.label);
        }
    } else if (!l.xMoving) {
        for (int i = 0; i <= l.xs.divisions; ++i)
            xLabels.emplace_back(l.xs.tick(i), l.xText(l.xs.tick(i)));
    }
    return xLabels;
}

// What became of the x labels, for the layout's notes.
struct XLabelCounts {
    std::size_t thinned = 0, shortened = 0, moved = 0, noRoom = 0;
};

void noteXLabels(ChartLayout& layout, const XYLayout& l, const XLabelCounts& n) {
    auto note = [&](std::size_t count, const char* what) {
        if (count > 0) layout.notes.push_back(std::to_string(count) + what);
    };
    if (l.tickRoom > 0)
        layout.notes.push_back("plot narrowed by " + NumberFormat().format(l.tickRoom, 1) +
                               " px to keep the last x-axis tick label whole");
    note(n.thinned, " x-axis labels thinned: they would overlap their neighbours");
    note(n.shortened, " x-axis labels shortened to stay inside the picture");
    note(n.moved, " x-axis tick labels moved inward to stay inside the picture");
    note(n.noRoom, " x-axis tick labels not shown: wider than the picture");
}

// The x labels: a label that would touch the previous one is left out, a name that would pass
// the picture's edge is shortened and a number moved inward (all noted).
void layoutXLabels(ChartContext& ctx, XYLayout& l) {
    const ChartModel& m = ctx.model;
    LayoutAxis& xAxis = ctx.scene.layout.axisFor("x");
    xAxis.min = fromAxisUnits(l.xs, l.xLo);
    xAxis.max = fromAxisUnits(l.xs, l.xHi);
    xAxis.log = l.xs.log;
    const bool numbers = m.categories.empty();
    Font labelFont = ctx.style.font(TextRole::DataLabels);
    double lastRight = -1e300;
    XLabelCounts counts;
    for (const auto& [x, text] : xLabelTexts(m, l)) {
        if (x < l.xs.min || x > l.xs.max || text.empty()) continue;
        TextItem probe;
        probe.tag = {numbers ? TextKind::Tick : TextKind::CategoryLabel};
        probe.text = text;
        probe.font = labelFont;
        probe.x = l.X(x);
        probe.y = l.plot.bottom() + l.lineH / 2 + 2;
        probe.h = l.rotate ? HAlign::Right : HAlign::Center;
        probe.v = l.rotate ? VAlign::Middle : VAlign::Top;
        probe.angle = l.rotate ? -90 : 0;
        // A centred name may be twice as wide as its distance to the nearer edge.
        if (!numbers)
            probe.maxWidth = l.rotate
                                 ? l.labelExtent - 8
                                 : std::max(2 * std::min(probe.x, ctx.width - probe.x) - 2, 1.0);
        ctx.text.place(probe);
        const EdgeFit fit = numbers ? keepInsidePicture(ctx, probe) : EdgeFit::Inside;
        if (fit == EdgeFit::NoRoom) {
            ++counts.noRoom;
            continue;
        }
        if (probe.box.x < lastRight + 2) { // would touch the previous label
            ++counts.thinned;
            continue;
        }
        lastRight = probe.box.right();
        counts.moved += fit == EdgeFit::Moved;
        counts.shortened += !probe.fullText.empty();
        xAxis.ticks.push_back(LayoutTick{x, probe.text, probe.box});
        l.axisTexts.push_back(std::move(probe));
    }
    noteXLabels(ctx.scene.layout, l, counts);
}

// The trend lines' labels (at their right end, or outside the plot with valueOnRight), the
// vertical zones' labels at the top of the plot, and the axis names.
void layoutXYFrontTexts(ChartContext& ctx, XYLayout& l) {
    const ChartModel& m = ctx.model;
    const Rect& p = l.plot;
    std::vector<TextItem>& out = l.frontTexts;
    TextTag trend{TextKind::Trend};
    for (const TrendLine& t : m.trendlines) {
        std::string label = t.attrs.text("displayvalue");
        if (label.empty()) continue;
        Font f = ctx.style.font(TextRole::TrendValues);
        f.color = parseColor(t.attrs.text("color"), f.color);
        if (t.attrs.flag("valueonright", false))
            out.push_back(placeText(ctx, trend, label, f, p.right() + 4, l.Y(t.end), HAlign::Left,
                                    VAlign::Middle, 0, std::max(l.trendRoom, 20.0)));
        else
            out.push_back(placeText(ctx, trend, label, f, p.right() - 3, l.Y(t.end) - 2,
                                    HAlign::Right, VAlign::Bottom));
    }
    for (const TrendLine& t : m.vtrendlines) {
        std::string label = t.attrs.text("displayvalue");
        if (label.empty()) continue;
        Font f = ctx.style.font(TextRole::TrendValues);
        double x0 = std::max(l.X(t.start), p.x), x1 = std::min(l.X(t.end), p.right());
        out.push_back(placeText(ctx, trend, label, f, (x0 + x1) / 2, p.y + 3, HAlign::Center,
                                VAlign::Top, 0, std::max(std::fabs(x1 - x0) - 4, 10.0)));
    }
    std::string xName = m.chart.text("xaxisname"), yName = m.chart.text("yaxisname");
    TextTag name{TextKind::AxisName};
    if (!yName.empty())
        out.push_back(placeText(ctx, name, yName, ctx.style.font(TextRole::YAxisName),
                                l.area.x + l.lineH / 2, p.y + p.h / 2, HAlign::Center,
                                VAlign::Middle, -90, p.h));
    if (!xName.empty())
        out.push_back(placeText(ctx, name, xName, ctx.style.font(TextRole::XAxisName),
                                p.x + p.w / 2, p.bottom() + l.labelExtent + 2, HAlign::Center,
                                VAlign::Top, 0, p.w));
}

} // namespace plotara::player

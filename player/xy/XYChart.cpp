// Scatter and bubble charts: points placed by x and y (and sized by z), category labels at their
// x positions with optional vertical lines, vertical zones and horizontal trend lines.
#include "player/detail/Families.h"
#include "player/layout/NiceScale.h"
#include "player/util/TextUtil.h"
#include "player/xy/BubbleCover.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

namespace {
Stroke trendStroke(const Attributes& a, Color fallback) {
    Stroke s{withAlpha(parseColor(a.text("color"), fallback), a.number("alpha", 100)),
             std::clamp(a.number("thickness", a.number("linethickness", 1)), 0.5, 20.0)};
    if (a.flag("dashed", false)) {
        s.dash = std::clamp(a.number("dashlen", 5), 1.0, 100.0);
        s.gap = std::clamp(a.number("dashgap", 4), 1.0, 100.0);
    }
    return s;
}
} // namespace

void describeXYPoint(const ChartModel& m, HitRegion& hit) {
    if (hit.seriesIndex < 0 || static_cast<std::size_t>(hit.seriesIndex) >= m.datasets.size())
        return;
    const Series& s = m.datasets[static_cast<std::size_t>(hit.seriesIndex)];
    if (hit.pointIndex < 0 || static_cast<std::size_t>(hit.pointIndex) >= s.xy.size()) return;
    const XYPoint& pt = s.xy[static_cast<std::size_t>(hit.pointIndex)];
    NumberFormat yf = numberFormatOf(m.chart);
    NumberFormat xf = yf;
    xf.prefix = m.chart.text("xnumberprefix");
    xf.suffix = m.chart.text("xnumbersuffix");
    const Attributes& pa = s.attrsOf(pt);
    hit.label = pa.text("name", pa.text("label"));
    hit.value = yf.format(pt.y);
    hit.link = pa.text("link");
    std::string where = xf.format(pt.x) + ", " + yf.format(pt.y);
    hit.toolText =
        pa.has("tooltext") ? pa.text("tooltext") : (s.name.empty() ? "" : s.name + ", ") + where;
    hit.lazyText = false;
}

namespace {

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

    double X(double v) const { return plot.x + xs.fraction(v) * plot.w; }
    double Y(double v) const { return plot.bottom() - ys.fraction(v) * plot.h; }
    // Ticks of a logarithmic axis are powers: each gets the digits its own size needs.
    static std::string tickText(const NumberFormat& f, const AxisScale& a, double v) {
        return a.log ? f.format(v, v < 1 ? decimalsForStep(v) : 0) : f.formatTick(v, a.step);
    }
    std::string yText(double v) const { return tickText(yf, ys, v); }
    std::string xText(double v) const { return tickText(xf, xs, v); }
};

struct Extent {
    double lo = 1e308, hi = -1e308;
    void add(double v) { lo = std::min(lo, v), hi = std::max(hi, v); }
};

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
        if (!s.name.empty()) legend.push_back({s.name, col, false});
    }
    l.titles = layoutTitles(ctx, marginArea(ctx));
    l.area = l.titles.rest;
    if (c.flag("showlegend", m.datasets.size() > 1)) {
        l.legend = layoutLegend(ctx, legend, l.area);
        l.area = l.legend.rest;
    }
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
    p.w = std::max(p.w, 10.0);
    p.h = std::max(p.h, 10.0);
    l.plot = p;
    ctx.scene.layout.plot = p;
}

// Canvas, vertical zones, div lines, category lines and trend lines, clipped to the plot.
void drawXYBack(ChartContext& ctx, const XYLayout& l) {
    const ChartModel& m = ctx.model;
    const Rect& p = l.plot;
    const PaletteTheme& theme = ctx.style.theme();
    Path canvas;
    canvas.rect(p);
    ctx.scene.fillStroke(std::move(canvas), theme.canvas, Stroke{theme.canvasBorder, 1});
    ctx.scene.add(ClipPush{p});
    for (const TrendLine& t : m.vtrendlines) {
        double x0 = l.X(t.start), x1 = l.X(t.end);
        Color col = withAlpha(parseColor(t.attrs.text("color"), rgb(0x999999)),
                              t.attrs.number("alpha", t.zone ? 20 : 100));
        if (t.zone) {
            ctx.scene.fillRect({std::min(x0, x1), p.y, std::fabs(x1 - x0), p.h}, col);
        } else {
            ctx.scene.line(x0, p.y, x0, p.bottom(), trendStroke(t.attrs, rgb(0x999999)));
        }
    }
    Stroke div{theme.divLine, 1};
    for (int i = 1; i < l.ys.divisions; ++i)
        ctx.scene.line(p.x, l.Y(l.ys.tick(i)), p.right(), l.Y(l.ys.tick(i)), div);
    Color vlineColor = parseColor(m.categoriesAttrs.text("verticallinecolor"), rgb(0x999999));
    double vlineWidth = std::clamp(m.categoriesAttrs.number("verticallinethickness", 1), 0.5, 10.0);
    for (const Category& cat : m.categories) {
        auto x = cat.attrs.optionalNumber("x");
        if (x && cat.attrs.flag("showverticalline", false))
            ctx.scene.line(l.X(*x), p.y, l.X(*x), p.bottom(), Stroke{vlineColor, vlineWidth});
    }
    for (const TrendLine& t : m.trendlines) {
        if (t.zone) {
            double y0 = l.Y(t.start), y1 = l.Y(t.end);
            ctx.scene.fillRect({p.x, std::min(y0, y1), p.w, std::fabs(y1 - y0)},
                               withAlpha(parseColor(t.attrs.text("color"), rgb(0x999999)),
                                         t.attrs.number("alpha", 20)));
        } else {
            ctx.scene.line(p.x, l.Y(t.start), p.right(), l.Y(t.end),
                           trendStroke(t.attrs, rgb(0x333333)));
        }
    }
    ctx.scene.add(ClipPop{});
}

// A bubble's radius: its area follows |z|, at least 2 units.
double bubbleRadius(const XYLayout& l, const XYPoint& pt, double maxR) {
    double z = isMissing(pt.z) ? 0 : std::fabs(pt.z);
    return l.zmax > 0 ? std::max(2.0, maxR * std::sqrt(z / l.zmax)) : 4;
}

// A bubble's fill: its own colour and alpha, else those of its series.
Color bubbleFill(const Series& s, const Attributes& pa, Color seriesColor) {
    return withAlpha(parseColor(pa.text("color"), seriesColor),
                     pa.number("alpha", s.attrs.number("alpha", 75)));
}

// One bubble: a circle whose area follows |z|, with a shine in 3D, and its hit region.
HitRegion drawBubble(ChartContext& ctx, const XYLayout& l, const Series& s, std::size_t d,
                     std::size_t i, Point at, double maxR) {
    const Attributes& c = ctx.model.chart;
    const XYPoint& pt = s.xy[i];
    Color col = l.colors[d];
    HitRegion hit;
    hit.shape = HitRegion::Shape::Circle;
    hit.center = at;
    hit.series = s.name;
    hit.seriesIndex = static_cast<int>(d);
    hit.pointIndex = static_cast<int>(i);
    const Attributes& pa = s.attrsOf(pt);
    hit.label = pa.text("name", pa.text("label"));
    hit.value = l.yf.format(pt.y);
    hit.link = pa.text("link");
    std::string where = l.xf.format(pt.x, l.xd) + ", " + l.yf.format(pt.y);
    double z = isMissing(pt.z) ? 0 : std::fabs(pt.z);
    double r = bubbleRadius(l, pt, maxR);
    Color fill = bubbleFill(s, pa, col);
    Path circle;
    circle.arc(at.x, at.y, r, r, 0, 2 * 3.141592653589793);
    circle.close();
    if (c.flag("showplotborder", true)) {
        ctx.scene.fillStroke(std::move(circle), fill, Stroke{shade(col, 0.6), 1});
    } else {
        ctx.scene.fillPath(std::move(circle), fill);
    }
    if (c.flag("is3d", false)) {
        Path shine;
        shine.arc(at.x - r * 0.3, at.y - r * 0.3, r * 0.35, r * 0.35, 0, 2 * 3.141592653589793);
        shine.close();
        ctx.scene.fillPath(std::move(shine), withAlpha(rgb(0xFFFFFF), 45));
    }
    hit.radius = r;
    hit.kind = "bubble";
    hit.toolText = pa.has("tooltext") ? pa.text("tooltext")
                                      : (hit.label.empty() ? "" : hit.label + ", ") + where + ", " +
                                            l.yf.plain().format(z);
    return hit;
}

// Whether a point has a place on the axes: both coordinates, positive on logarithmic axes.
bool hasPlace(const XYLayout& l, const XYPoint& pt) {
    if (isMissing(pt.x) || isMissing(pt.y)) return false;
    return !l.logAxes || (pt.x > 0 && pt.y > 0);
}

// With more bubbles than the plot has unit cells, most of them lie under others: walked from
// the top (the last drawn) down, a bubble that would change no cell by half a level of 255 is
// marked hidden and is neither drawn nor given a hit region or label. Empty when every bubble
// is drawn.
std::vector<std::vector<char>> hiddenBubbles(const ChartModel& m, const XYLayout& l, double maxR,
                                             bool clip) {
    std::vector<std::vector<char>> hidden;
    if (!l.bubble || static_cast<double>(l.count) <= l.plot.w * l.plot.h) return hidden;
    BubbleCover cover(l.plot, clip);
    hidden.resize(m.datasets.size());
    for (std::size_t d = m.datasets.size(); d-- > 0;) {
        const Series& s = m.datasets[d];
        hidden[d].assign(s.xy.size(), 0);
        for (std::size_t i = s.xy.size(); i-- > 0;) {
            const XYPoint& pt = s.xy[i];
            if (!hasPlace(l, pt)) continue;
            const Point at{l.X(pt.x), l.Y(pt.y)};
            const double r = bubbleRadius(l, pt, maxR);
            if (!cover.shows(at, r)) {
                hidden[d][i] = 1;
                continue;
            }
            cover.cover(at, r, bubbleFill(s, s.attrsOf(pt), l.colors[d]).a);
        }
    }
    return hidden;
}

// The radius of a scatter series' anchors.
double anchorRadius(const Attributes& chart, const Series& s) {
    return std::clamp(s.attrs.number("anchorradius", chart.number("anchorradius", 3)), 1.0, 30.0);
}

// The anchors of a scatter series, stamped from one marker.
MarkerItem scatterMarkers(const ChartContext& ctx, const Series& s, Color col) {
    const Attributes& c = ctx.model.chart;
    MarkerItem markers;
    double sides = s.attrs.number("anchorsides", c.number("anchorsides", 0));
    markers.sides = sides >= 3 && sides <= 20 ? static_cast<int>(sides) : 0;
    markers.radius = anchorRadius(c, s);
    markers.fill = parseColor(s.attrs.text("anchorbgcolor"), col);
    // A border colour the document gives is kept; the default one stands out from the canvas.
    markers.border = Stroke{parseColor(s.attrs.text("anchorbordercolor"),
                                       legibleOn(shade(col, 0.7), ctx.style.theme().canvas)),
                            1};
    markers.points.reserve(s.xy.size());
    return markers;
}

// The largest bubble's radius: it takes less of the plot the more bubbles share it, so a few
// hundred stay apart instead of melting into one blob.
double bubbleMaxR(const Attributes& c, const XYLayout& l) {
    double share = 0.09 * std::sqrt(20.0 / std::max<double>(static_cast<double>(l.count), 20.0));
    return std::min(l.plot.w, l.plot.h) * std::max(share, 0.015) *
           std::clamp(c.number("bubblescale", 1), 0.1, 5.0);
}

// A value in the units the axis is linear in (its logarithm on a logarithmic axis), and back.
double axisUnits(const AxisScale& a, double v) {
    return a.log ? std::log(v) : v;
}
double fromAxisUnits(const AxisScale& a, double u) {
    return a.log ? std::exp(u) : u;
}

// Widens the range asked of an axis to take in lo to hi (axis units) on each side the document
// leaves open; true when it changed.
bool widenRange(ScaleRequest& r, const AxisScale& a, double lo, double hi) {
    double curLo = axisUnits(a, a.min), curHi = axisUnits(a, a.max);
    double eps = (curHi - curLo) * 1e-9;
    bool changed = false;
    if (!r.userMin && lo < curLo - eps) {
        r.dataMin = std::min(r.dataMin, fromAxisUnits(a, lo));
        changed = true;
    }
    if (!r.userMax && hi > curHi + eps) {
        r.dataMax = std::max(r.dataMax, fromAxisUnits(a, hi));
        changed = true;
    }
    return changed;
}

// The limits (axis units) at which every marker lies whole on an axis `pixels` long: for a span
// S, a marker at u with radius r needs the axis to reach u - r S / pixels and u + r S / pixels;
// the span needed is the smallest S those reaches fit in. The reaches grow with S, so S is found
// by Newton steps on the convex excess (reach - S), from the current span. A limit the document
// set stays fixed. forEach(visit) calls visit(u, r) for every marker drawn.
template <class ForEach>
std::pair<double, double> markerLimits(ForEach forEach, double pixels, double span,
                                       std::optional<double> fixedLo,
                                       std::optional<double> fixedHi) {
    double lo = 0, hi = 0;
    for (int step = 0; step < 30; ++step) {
        double scale = span / pixels, rLo = 0, rHi = 0;
        lo = 1e308, hi = -1e308;
        forEach([&](double u, double r) {
            r = std::min(r, pixels * 0.45); // two markers can always share the axis
            if (u - r * scale < lo) lo = u - r * scale, rLo = r;
            if (u + r * scale > hi) hi = u + r * scale, rHi = r;
        });
        if (lo > hi) break; // no marker
        if (fixedLo) lo = *fixedLo, rLo = 0;
        if (fixedHi) hi = *fixedHi, rHi = 0;
        double excess = hi - lo - span;
        if (excess <= span * 1e-9) break;
        span -= excess / ((rLo + rHi) / pixels - 1);
    }
    return {lo, hi};
}

// Widens the ranges asked of the axes where a marker (an anchor with its border, or a bubble)
// would reach past the plot's edge, so that rounded again the limits leave room for it; points
// outside the current limits (the document's) are not drawn and ask nothing. True when a range
// changed and the axes must be scaled and the plot placed again.
bool widenForMarkers(const ChartContext& ctx, XYLayout& l) {
    const ChartModel& m = ctx.model;
    const double maxR = bubbleMaxR(m.chart, l);
    auto forEachMarker = [&](bool onX, auto visit) {
        for (const Series& s : m.datasets) {
            const double anchor = anchorRadius(m.chart, s);
            for (const XYPoint& pt : s.xy) {
                if (!hasPlace(l, pt) || pt.x < l.xs.min || pt.x > l.xs.max || pt.y < l.ys.min ||
                    pt.y > l.ys.max)
                    continue;
                const double r = (l.bubble ? bubbleRadius(l, pt, maxR) : anchor) + 2;
                visit(onX ? axisUnits(l.xs, pt.x) : axisUnits(l.ys, pt.y), r);
            }
        }
    };
    auto fixed = [](const AxisScale& a, const std::optional<double>& user) {
        return user ? std::optional<double>(axisUnits(a, a.min)) : std::nullopt;
    };
    auto fixedMax = [](const AxisScale& a, const std::optional<double>& user) {
        return user ? std::optional<double>(axisUnits(a, a.max)) : std::nullopt;
    };
    auto [xLo, xHi] = markerLimits([&](auto visit) { forEachMarker(true, visit); }, l.plot.w,
                                   axisUnits(l.xs, l.xs.max) - axisUnits(l.xs, l.xs.min),
                                   fixed(l.xs, l.xr.userMin), fixedMax(l.xs, l.xr.userMax));
    auto [yLo, yHi] = markerLimits([&](auto visit) { forEachMarker(false, visit); }, l.plot.h,
                                   axisUnits(l.ys, l.ys.max) - axisUnits(l.ys, l.ys.min),
                                   fixed(l.ys, l.yr.userMin), fixedMax(l.ys, l.yr.userMax));
    bool changed = widenRange(l.xr, l.xs, xLo, xHi);
    return widenRange(l.yr, l.ys, yLo, yHi) || changed;
}

// One series' value labels offered and its counts: points drawn inside the plot, bubbles
// hidden under others and points that have no place on the axes (noted).
void layoutXYSeries(ChartContext& ctx, const XYLayout& l, std::size_t d, ValueLabels& values) {
    const Series& s = ctx.model.datasets[d];
    const std::vector<char>* hidden = l.hidden.empty() ? nullptr : &l.hidden[d];
    bool showValues = s.attrs.flag("showvalues", ctx.model.chart.flag("showvalues", false));
    double radius = anchorRadius(ctx.model.chart, s);
    LayoutSeries drawn;
    drawn.name = s.name;
    drawn.renderAs = l.bubble ? "bubble" : "scatter";
    drawn.points = s.xy.size();
    std::size_t underOthers = 0;
    for (std::size_t i = 0; i < s.xy.size(); ++i) {
        const XYPoint& pt = s.xy[i];
        if (!hasPlace(l, pt)) continue;
        Point at{l.X(pt.x), l.Y(pt.y)};
        if (hidden != nullptr && (*hidden)[i] != 0) {
            underOthers += l.plot.contains(at) ? 1 : 0; // the others count as outside the axes
            continue;
        }
        if (l.plot.contains(at)) ++drawn.drawn;
        if (!showValues) continue;
        TextTag tag{TextKind::ValueLabel, static_cast<int>(d), static_cast<int>(i)};
        if (l.bubble) {
            const Attributes& pa = s.attrsOf(pt);
            values.place(tag, pa.text("name", pa.text("label")), at.x, at.y, HAlign::Center,
                         VAlign::Middle);
        } else {
            values.place(tag, l.yf.format(pt.y), at.x, at.y - radius - 2, HAlign::Center,
                         VAlign::Bottom);
        }
    }
    if (underOthers > 0)
        ctx.scene.layout.notes.push_back(
            s.name + ": " + std::to_string(underOthers) +
            " bubbles not drawn: more bubbles than the plot has pixels, and these would not show "
            "under the bubbles drawn over them");
    if (drawn.drawn + underOthers < drawn.points)
        ctx.scene.layout.notes.push_back(
            s.name + ": " + std::to_string(drawn.points - drawn.drawn - underOthers) +
            " points not drawn: missing values, outside the axis limits, or not positive on "
            "logarithmic axes");
    ctx.scene.layout.series.push_back(std::move(drawn));
}

// The points' clip and bubble size, the bubbles hidden under others, every series' counts and
// value labels placed apart.
void layoutXYPoints(ChartContext& ctx, XYLayout& l) {
    const Attributes& c = ctx.model.chart;
    l.clip = !l.bubble || c.flag("clipbubbles", true);
    l.maxR = bubbleMaxR(c, l);
    l.hidden = hiddenBubbles(ctx.model, l, l.maxR, l.clip);
    ValueLabels values(ctx, {0, 0, ctx.width, ctx.height});
    for (std::size_t d = 0; d < ctx.model.datasets.size(); ++d)
        layoutXYSeries(ctx, l, d, values);
    l.valueTexts = values.settle();
    const double cells = std::round(l.plot.w * l.plot.h);
    if (!l.bubble && static_cast<double>(l.count) > cells)
        ctx.scene.layout.notes.push_back(std::to_string(l.count) + " points on a plot of " +
                                         std::to_string(static_cast<long long>(cells)) +
                                         " pixels: their markers cover one another");
}

// One series: markers (scatter) or bubbles as laid out, and their hit regions.
void drawXYSeries(ChartContext& ctx, const XYLayout& l, std::size_t d) {
    const Series& s = ctx.model.datasets[d];
    const std::vector<char>* hidden = l.hidden.empty() ? nullptr : &l.hidden[d];
    MarkerItem markers = scatterMarkers(ctx, s, l.colors[d]);
    double hitRadius = std::max(markers.radius + 1, 4.0);
    // Scatter points are many: their hit regions are kept compactly, and their texts are
    // worked out only for the point asked about (describeXYPoint).
    if (!l.bubble)
        ctx.scene.pointHits.beginSet("point", s.name, static_cast<int>(d), ctx.scene.hits.size());
    for (std::size_t i = 0; i < s.xy.size(); ++i) {
        const XYPoint& pt = s.xy[i];
        if (!hasPlace(l, pt)) continue;
        if (hidden != nullptr && (*hidden)[i] != 0) continue;
        Point at{l.X(pt.x), l.Y(pt.y)};
        if (!l.bubble) {
            markers.points.push_back(at);
            if (l.plot.contains(at)) ctx.scene.pointHits.add(at, hitRadius, static_cast<int>(i));
            continue;
        }
        ctx.scene.hits.push_back(drawBubble(ctx, l, s, d, i, at, l.maxR));
    }
    if (!markers.points.empty()) ctx.scene.add(std::move(markers));
}

// The points of every series, clipped to the plot (bubbles unless clipBubbles is 0), then
// their value labels.
void drawXYPoints(ChartContext& ctx, const XYLayout& l) {
    if (l.clip) ctx.scene.add(ClipPush{l.plot});
    for (std::size_t d = 0; d < ctx.model.datasets.size(); ++d)
        drawXYSeries(ctx, l, d);
    if (l.clip) ctx.scene.add(ClipPop{});
    drawTexts(ctx.scene, l.valueTexts);
}

// The y axis' tick labels (thinned to keep a line apart) and the layout's ticks.
void layoutYTicks(ChartContext& ctx, XYLayout& l) {
    const Rect& p = l.plot;
    Font tickFont = ctx.style.font(TextRole::YAxisValues);
    int every = 1;
    while (p.h / std::max(l.ys.divisions, 1) * every < l.lineH * 1.2 && every < 1000)
        ++every;
    LayoutAxis& yAxis = ctx.scene.layout.axisFor("y");
    yAxis.min = l.ys.min;
    yAxis.max = l.ys.max;
    yAxis.log = l.ys.log;
    for (int i = 0; i <= l.ys.divisions; ++i) {
        LayoutTick tick;
        tick.value = l.ys.tick(i);
        if (i % every == 0) {
            tick.label = l.yText(tick.value);
            TextItem text = placeText(ctx, {TextKind::Tick}, tick.label, tickFont, p.x - 5,
                                      l.Y(tick.value), HAlign::Right, VAlign::Middle);
            tick.box = text.box;
            if (!text.text.empty()) l.axisTexts.push_back(std::move(text));
        }
        yAxis.ticks.push_back(std::move(tick));
    }
}

// The x labels: the categories at their x positions, else the ticks; a label that would touch
// the previous one is left out, and one that would pass the picture's edge is shortened (both
// noted).
void layoutXLabels(ChartContext& ctx, XYLayout& l) {
    const ChartModel& m = ctx.model;
    LayoutAxis& xAxis = ctx.scene.layout.axisFor("x");
    xAxis.min = l.xs.min;
    xAxis.max = l.xs.max;
    xAxis.log = l.xs.log;
    std::vector<std::pair<double, std::string>> xLabels;
    if (!m.categories.empty()) {
        for (const Category& cat : m.categories) {
            if (auto x = cat.attrs.optionalNumber("x")) xLabels.emplace_back(*x, cat.label);
        }
    } else {
        for (int i = 0; i <= l.xs.divisions; ++i)
            xLabels.emplace_back(l.xs.tick(i), l.xText(l.xs.tick(i)));
    }
    Font labelFont = ctx.style.font(TextRole::DataLabels);
    double lastRight = -1e300;
    std::size_t thinned = 0, shortened = 0;
    for (const auto& [x, text] : xLabels) {
        if (x < l.xs.min || x > l.xs.max || text.empty()) continue;
        TextItem probe;
        probe.tag = {m.categories.empty() ? TextKind::Tick : TextKind::CategoryLabel};
        probe.text = text;
        probe.font = labelFont;
        probe.x = l.X(x);
        probe.y = l.plot.bottom() + l.lineH / 2 + 2;
        probe.h = l.rotate ? HAlign::Right : HAlign::Center;
        probe.v = l.rotate ? VAlign::Middle : VAlign::Top;
        probe.angle = l.rotate ? -90 : 0;
        // A centred label may be twice as wide as its distance to the nearer edge.
        probe.maxWidth = l.rotate ? l.labelExtent - 8
                                  : std::max(2 * std::min(probe.x, ctx.width - probe.x) - 2, 1.0);
        ctx.text.place(probe);
        if (probe.box.x < lastRight + 2) { // would touch the previous label
            ++thinned;
            continue;
        }
        lastRight = probe.box.right();
        if (!l.rotate) shortened += ctx.text.measure(text, labelFont).w > probe.maxWidth;
        xAxis.ticks.push_back(LayoutTick{x, text, probe.box});
        l.axisTexts.push_back(std::move(probe));
    }
    if (thinned > 0)
        ctx.scene.layout.notes.push_back(
            std::to_string(thinned) +
            " x-axis labels thinned: they would overlap their neighbours");
    if (shortened > 0)
        ctx.scene.layout.notes.push_back(std::to_string(shortened) +
                                         " x-axis labels shortened to stay inside the picture");
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

// Axis lines, then the tick and x labels, trend values and axis names over the points.
void drawXYFront(ChartContext& ctx, const XYLayout& l) {
    const Rect& p = l.plot;
    Stroke axis{ctx.style.theme().axisLine, 1};
    ctx.scene.line(p.x, p.y, p.x, p.bottom(), axis);
    ctx.scene.line(p.x, p.bottom(), p.right(), p.bottom(), axis);
    drawTexts(ctx.scene, l.axisTexts);
    drawTexts(ctx.scene, l.frontTexts);
}

} // namespace

bool renderXY(ChartContext& ctx, const ChartMovie& movie) {
    XYLayout layout;
    layout.bubble = movie.family == Family::Bubble;
    if (!scaleXY(ctx.model, layout)) return false;
    placeXYFrame(ctx, layout);
    placeXYPlot(ctx, layout);
    // Each widening rounds the limits out further; a few rounds settle any marker size.
    for (int round = 0; round < 4 && widenForMarkers(ctx, layout); ++round) {
        rescaleXY(layout);
        placeXYPlot(ctx, layout);
    }
    layoutYTicks(ctx, layout);
    layoutXLabels(ctx, layout);
    layoutXYPoints(ctx, layout);
    layoutXYFrontTexts(ctx, layout);
    // In the order they are drawn.
    listTexts(ctx.scene.layout, layout.titles.texts);
    listTexts(ctx.scene.layout, layout.legend.texts());
    listTexts(ctx.scene.layout, layout.valueTexts);
    listTexts(ctx.scene.layout, layout.axisTexts);
    listTexts(ctx.scene.layout, layout.frontTexts);
    if (!ctx.drawing) return true;
    if (layout.bubble) ctx.scene.hits.reserve(layout.count + ctx.model.datasets.size() + 8);
    drawTexts(ctx.scene, layout.titles.texts);
    drawLegend(ctx, layout.legend);
    drawXYBack(ctx, layout);
    drawXYPoints(ctx, layout);
    drawXYFront(ctx, layout);
    return true;
}

} // namespace plotara::player

// Scatter and bubble charts: points placed by x and y (and sized by z), category labels at their
// x positions with optional vertical lines, vertical zones and horizontal trend lines. The scales,
// plot and axis texts are laid out in XYLayout.cpp; here the points are laid out and drawn.
#include "player/detail/Families.h"
#include "player/util/TextUtil.h"
#include "player/xy/BubbleCover.h"
#include "player/xy/MarkerRoom.h"
#include "player/xy/XYLayout.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

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

void describeXYPoints(const ChartModel& m, std::span<HitRegion> hits) {
    // The formats are read from the chart's attributes once: a page describes every point.
    std::optional<NumberFormat> yf, xf;
    for (HitRegion& hit : hits) {
        if (!hit.lazyText || hit.seriesIndex < 0 ||
            static_cast<std::size_t>(hit.seriesIndex) >= m.datasets.size())
            continue;
        const Series& s = m.datasets[static_cast<std::size_t>(hit.seriesIndex)];
        if (hit.pointIndex < 0 || static_cast<std::size_t>(hit.pointIndex) >= s.xy.size()) continue;
        const XYPoint& pt = s.xy[static_cast<std::size_t>(hit.pointIndex)];
        if (!yf) {
            yf = numberFormatOf(m.chart);
            xf = yf;
            xf->prefix = m.chart.text("xnumberprefix");
            xf->suffix = m.chart.text("xnumbersuffix");
        }
        const Attributes& pa = s.attrsOf(pt);
        hit.label = pa.text("name", pa.text("label"));
        hit.value = yf->format(pt.y);
        hit.link = pa.text("link");
        std::string where = xf->format(pt.x) + ", " + hit.value;
        hit.toolText = pa.has("tooltext") ? pa.text("tooltext")
                                          : (s.name.empty() ? "" : s.name + ", ") + where;
        hit.lazyText = false;
    }
}

namespace {

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

// A bubble's fill: its own colour and alpha, else those of its series.
Color bubbleFill(const Series& s, const Attributes& pa, Color seriesColor) {
    return withAlpha(parseColor(pa.text("color"), seriesColor),
                     pa.number("alpha", s.attrs.number("alpha", 75)));
}

// How far a point (a bubble, or a scatter series' markers) has grown: on a draw-in every point
// grows, on a transition only a point the chart before did not have (`fresh`); 1 in the still
// picture.
double growth(const ChartContext& ctx, std::size_t index, bool fresh = true) {
    if (ctx.motion == nullptr || !fresh) return 1;
    return ctx.motion->share(index);
}

// One bubble of radius r: a circle whose area follows |z|, with a shine in 3D, and its hit
// region.
HitRegion drawBubble(ChartContext& ctx, const XYLayout& l, const Series& s, std::size_t d,
                     std::size_t i, Point at, double r) {
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
    hit.kind = HitKind::Bubble;
    hit.toolText = pa.has("tooltext") ? pa.text("tooltext")
                                      : (hit.label.empty() ? "" : hit.label + ", ") + where + ", " +
                                            l.yf.plain().format(z);
    return hit;
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
        if (!showValues || (l.zoomed && !l.plot.contains(at))) continue;
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
    if (ctx.motion && l.bubble) {
        std::size_t longest = 0;
        for (const Series& s : ctx.model.datasets)
            longest = std::max(longest, s.xy.size());
        ctx.motion->stagger(longest);
    }
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

// On a transition, the points of a series that the chart before had beyond this chart's last
// one: they shrink out where they stood.
void drawLeavingPoints(ChartContext& ctx, const XYLayout& l, const Series& s, std::size_t d) {
    const std::vector<XYPoint>* before = ctx.motion->start()->xy(s.name);
    if (before == nullptr || before->size() <= s.xy.size()) return;
    const double left = 1 - ctx.motion->share();
    MarkerItem markers = scatterMarkers(ctx, s, l.colors[d]);
    markers.radius *= left;
    for (std::size_t i = s.xy.size(); i < before->size(); ++i) {
        const XYPoint& pt = (*before)[i];
        if (!hasPlace(l, pt)) continue;
        const Point at{l.X(pt.x), l.Y(pt.y)};
        if (!l.bubble) {
            markers.points.push_back(at);
            continue;
        }
        const double r = bubbleRadius(l, pt, l.maxR) * left;
        Path circle;
        circle.arc(at.x, at.y, r, r, 0, 2 * 3.141592653589793);
        circle.close();
        const Color fill = bubbleFill(s, s.attrs, l.colors[d]);
        if (ctx.model.chart.flag("showplotborder", true)) {
            ctx.scene.fillStroke(std::move(circle), fill, Stroke{shade(l.colors[d], 0.6), 1});
        } else {
            ctx.scene.fillPath(std::move(circle), fill);
        }
    }
    if (!markers.points.empty()) ctx.scene.add(std::move(markers));
}

// One series: markers (scatter) or bubbles as laid out, and their hit regions. On a frame a
// point stands where the motion has it; on a transition the points new to the chart grow (as
// markers of their own) and those it lost shrink out.
void drawXYSeries(ChartContext& ctx, const XYLayout& l, std::size_t d) {
    const Series& s = ctx.model.datasets[d];
    const std::vector<char>* hidden = l.hidden.empty() ? nullptr : &l.hidden[d];
    MarkerItem markers = scatterMarkers(ctx, s, l.colors[d]);
    double hitRadius = std::max(markers.radius + 1, 4.0);
    const bool moving = ctx.motion != nullptr && ctx.motion->transition();
    MarkerItem fresh = markers;
    fresh.radius *= growth(ctx, 0);
    if (!moving) markers.radius = fresh.radius;
    // Scatter points are many: their hit regions are kept compactly, and their texts are
    // worked out only for the point asked about (describeXYPoints).
    if (!l.bubble)
        ctx.scene.pointHits.beginSet(HitKind::Point, s.name, static_cast<int>(d),
                                     ctx.scene.hits.size());
    for (std::size_t i = 0; i < s.xy.size(); ++i) {
        if (!hasPlace(l, s.xy[i])) continue;
        if (hidden != nullptr && (*hidden)[i] != 0) continue;
        bool isNew = true;
        const XYPoint pt =
            ctx.motion ? ctx.motion->place(s.name, i, s.xy[i], isNew, l.xs.log, l.ys.log) : s.xy[i];
        Point at{l.X(pt.x), l.Y(pt.y)};
        if (!l.bubble) {
            (moving && isNew ? fresh : markers).points.push_back(at);
            if (l.plot.contains(at)) ctx.scene.pointHits.add(at, hitRadius, static_cast<int>(i));
            continue;
        }
        const double r = bubbleRadius(l, pt, l.maxR) * growth(ctx, i, isNew);
        HitRegion bubble = drawBubble(ctx, l, s, d, i, at, r);
        // Zoomed in, bubbles beyond the plot are cut off there and answer no hits.
        if (!l.zoomed || l.plot.contains(at)) ctx.scene.hits.push_back(std::move(bubble));
    }
    if (!markers.points.empty()) ctx.scene.add(std::move(markers));
    if (moving && !fresh.points.empty()) ctx.scene.add(std::move(fresh));
    if (moving) drawLeavingPoints(ctx, l, s, d);
}

// The points of every series, clipped to the plot (bubbles unless clipBubbles is 0), then
// their value labels.
void drawXYPoints(ChartContext& ctx, const XYLayout& l) {
    if (l.clip) ctx.scene.add(ClipPush{l.plot});
    for (std::size_t d = 0; d < ctx.model.datasets.size(); ++d) {
        ctx.scene.markSeries(static_cast<int>(d));
        drawXYSeries(ctx, l, d);
    }
    ctx.scene.markSeries(-1);
    if (l.clip) ctx.scene.add(ClipPop{});
    drawTexts(ctx.scene, l.valueTexts);
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

namespace {

bool renderXYShown(ChartContext& ctx, const ChartMovie& movie);

} // namespace

bool renderXY(ChartContext& ctx, const ChartMovie& movie) {
    if (ctx.view == nullptr || !ctx.view->hidden.any()) return renderXYShown(ctx, movie);
    // Series the viewer hid are drawn from a copy that holds no points for them; the legend
    // still lists them.
    const ChartModel shown = withoutHidden(ctx.model, ctx.view->hidden);
    ChartContext inner{ctx.scene,  ctx.text,    shown,      ctx.style, ctx.width,
                       ctx.height, ctx.drawing, ctx.motion, ctx.view};
    return renderXYShown(inner, movie);
}

namespace {

// A zoomed chart's axes run over the viewer's range, as limits the document would set. A
// logarithmic axis runs over the whole powers of its base around the range, as it does around
// its data, so that its ticks stay powers of the base (limits between them would give ticks at
// values such as 3, 14.5 and 70); a range reaching zero or below keeps the data's least value.
// An end within a tenth of a decade of a power counts as that power: a band
// dragged from just under 10 to just over 1,000 shows 10 to 1,000, not 1 to 10,000.
void zoomXY(const ChartContext& ctx, XYLayout& l) {
    if (ctx.view == nullptr || ctx.view->range.whole()) return;
    const ViewRange& r = ctx.view->range;
    auto snap = [base = l.logBase](double v) {
        const double e = std::log(v) / std::log(base), power = std::round(e);
        return std::abs(e - power) < 0.1 ? std::pow(base, power) : v;
    };
    auto zoom = [&l, &snap](ScaleRequest& q, const std::pair<double, double>& range) {
        if (!l.logAxes) {
            q.userMin = range.first, q.userMax = range.second;
            return;
        }
        q.userMin.reset();
        q.userMax.reset();
        if (range.second > 0) q.dataMax = snap(range.second);
        q.dataMin =
            range.first > 0 ? snap(range.first) : std::min(q.dataMin, q.dataMax / l.logBase);
    };
    if (r.x) zoom(l.xr, *r.x);
    if (r.y) zoom(l.yr, *r.y);
    l.zoomed = true;
    rescaleXY(l);
}

// On a transition frame the axes ease from the chart before's range (the edges of its plot) to
// their own, their grid lines moving with them and their tick labels hidden, as a category
// chart's value axes do; the plot keeps the still picture's size. Logarithmic axes ease in
// their logarithms.
void easeXY(const ChartContext& ctx, XYLayout& l) {
    if (ctx.motion == nullptr || !ctx.motion->transition()) return;
    auto ease = [&](const char* id, AxisScale& s, double& lo, double& hi) {
        AxisScale edges = s;
        edges.min = fromAxisUnits(s, lo);
        edges.max = fromAxisUnits(s, hi);
        if (!ctx.motion->easeAxis(id, edges)) return false;
        s = edges;
        lo = axisUnits(edges, edges.min);
        hi = axisUnits(edges, edges.max);
        return true;
    };
    l.xMoving = ease("x", l.xs, l.xLo, l.xHi);
    l.yMoving = ease("y", l.ys, l.yLo, l.yHi);
}

bool renderXYShown(ChartContext& ctx, const ChartMovie& movie) {
    XYLayout layout;
    layout.bubble = movie.family == Family::Bubble;
    if (!scaleXY(ctx.model, layout)) return false;
    zoomXY(ctx, layout);
    placeXYFrame(ctx, layout);
    placeXYPlot(ctx, layout);
    // Room for the markers at the plot's edges: the plot is placed again while its edges move,
    // and the axes are scaled again where a large bubble widened their ranges.
    for (int round = 0; round < 6; ++round) {
        const MarkerRoomChange change = widenForMarkers(ctx, layout);
        if (change == MarkerRoomChange::None) break;
        if (change == MarkerRoomChange::Limits) rescaleXY(layout);
        placeXYPlot(ctx, layout);
    }
    easeXY(ctx, layout);
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

} // namespace

} // namespace plotara::player

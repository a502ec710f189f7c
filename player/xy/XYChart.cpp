// Scatter and bubble charts: points placed by x and y (and sized by z), category labels at their
// x positions with optional vertical lines, vertical zones and horizontal trend lines.
#include "player/Families.h"
#include "player/layout/NiceScale.h"
#include "player/util/TextUtil.h"

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

bool renderXY(ChartContext& ctx, const ChartMovie& movie) {
    const ChartModel& m = ctx.model;
    const Attributes& c = m.chart;
    bool bubble = movie.family == Family::Bubble;
    double xlo = 1e308, xhi = -1e308, ylo = 1e308, yhi = -1e308, zmax = 0;
    // The positive part of the data, for logarithmic axes.
    double pxlo = 1e308, pxhi = -1e308, pylo = 1e308, pyhi = -1e308;
    std::size_t count = 0;
    for (const Series& s : m.datasets) {
        for (const XYPoint& p : s.xy) {
            if (isMissing(p.x) || isMissing(p.y)) continue;
            xlo = std::min(xlo, p.x);
            xhi = std::max(xhi, p.x);
            ylo = std::min(ylo, p.y);
            yhi = std::max(yhi, p.y);
            if (!isMissing(p.z)) zmax = std::max(zmax, std::fabs(p.z));
            if (p.x > 0) pxlo = std::min(pxlo, p.x), pxhi = std::max(pxhi, p.x);
            if (p.y > 0) pylo = std::min(pylo, p.y), pyhi = std::max(pyhi, p.y);
            ++count;
        }
    }
    if (count == 0) return false;
    if (bubble) ctx.scene.hits.reserve(count + m.datasets.size() + 8);
    for (const Category& cat : m.categories) {
        if (auto x = cat.attrs.optionalNumber("x")) {
            xlo = std::min(xlo, *x);
            xhi = std::max(xhi, *x);
        }
    }
    for (const TrendLine& t : m.trendlines) {
        ylo = std::min({ylo, t.start, t.end});
        yhi = std::max({yhi, t.start, t.end});
    }
    ScaleRequest xr;
    xr.dataMin = xlo;
    xr.dataMax = xhi;
    xr.includeZero = false;
    xr.userMin = c.optionalNumber("xaxisminvalue");
    xr.userMax = c.optionalNumber("xaxismaxvalue");
    if (auto n = c.optionalNumber("numvdivlines")) xr.numDivLines = static_cast<int>(*n);
    AxisScale xs = niceScale(xr);
    ScaleRequest yr;
    yr.dataMin = ylo;
    yr.dataMax = yhi;
    yr.includeZero = (ylo >= 0 && ylo < yhi * 0.35) || !c.flag("setadaptiveymin", true);
    yr.userMin = c.optionalNumber("yaxisminvalue");
    yr.userMax = c.optionalNumber("yaxismaxvalue");
    if (auto n = c.optionalNumber("numdivlines")) yr.numDivLines = static_cast<int>(*n);
    AxisScale ys = niceScale(yr);
    bool logAxes = c.flag("logscale", false);
    if (logAxes) {
        double base = c.number("logbase", 10);
        xs = logScale(pxlo, pxhi, base, xr.userMin, xr.userMax);
        ys = logScale(pylo, pyhi, base, yr.userMin, yr.userMax);
    }
    NumberFormat yf = numberFormatOf(c);
    NumberFormat xf = yf;
    xf.prefix = c.text("xnumberprefix");
    xf.suffix = c.text("xnumbersuffix");

    std::vector<LegendItem> legend;
    std::vector<Color> colors;
    for (std::size_t d = 0; d < m.datasets.size(); ++d) {
        const Series& s = m.datasets[d];
        Color col = parseColor(s.attrs.text("color"), ctx.style.seriesColor(d));
        colors.push_back(col);
        if (!s.name.empty()) legend.push_back({s.name, col, false});
    }
    Rect area = drawTitles(ctx, marginArea(ctx));
    if (c.flag("showlegend", m.datasets.size() > 1)) area = drawLegend(ctx, legend, area);

    Font tickFont = ctx.style.font(TextRole::YAxisValues);
    Font labelFont = ctx.style.font(TextRole::DataLabels);
    Font nameFont = ctx.style.font(TextRole::YAxisName);
    double lineH = ctx.text.measure("Ag", tickFont).h;
    int yd = std::max(decimalsForStep(ys.step), yf.decimals);
    int xd = std::max(decimalsForStep(xs.step), 0);
    // Ticks of a logarithmic axis are powers: each gets the digits its own size needs.
    auto digits = [](const AxisScale& a, double v, int linear) {
        return a.log ? (v < 1 ? decimalsForStep(v) : 0) : linear;
    };
    double tickW = 0;
    for (int i = 0; i <= ys.divisions; ++i)
        tickW = std::max(
            tickW, ctx.text.measure(yf.format(ys.tick(i), digits(ys, ys.tick(i), yd)), tickFont).w);
    std::string xName = c.text("xaxisname"), yName = c.text("yaxisname");
    Rect p = area;
    p.y += 6;
    p.h -= 6;
    if (!yName.empty()) p.x += lineH + 6, p.w -= lineH + 6;
    p.x += tickW + 8;
    p.w -= tickW + 8 + 8;
    bool rotate = c.flag("rotatenames", false);
    double labelExtent = lineH * 1.5 + 6;
    if (rotate) {
        double widest = 0;
        for (const Category& cat : m.categories)
            widest = std::max(widest, ctx.text.measure(cat.label, labelFont).w);
        labelExtent = std::min(widest, area.h * 0.25) + 8;
    }
    p.h -= labelExtent;
    if (!xName.empty()) p.h -= lineH + 8;
    for (const TrendLine& t : m.trendlines) {
        if (t.attrs.flag("valueonright", false) && t.attrs.has("displayvalue")) {
            double w =
                std::min(ctx.text.measure(t.attrs.text("displayvalue"), tickFont).w, area.w * 0.2);
            p.w -= std::max(0.0, w + 6 - 8);
            break;
        }
    }
    p.w = std::max(p.w, 10.0);
    p.h = std::max(p.h, 10.0);
    auto X = [&](double v) { return p.x + xs.fraction(v) * p.w; };
    auto Y = [&](double v) { return p.bottom() - ys.fraction(v) * p.h; };

    const PaletteTheme& theme = ctx.style.theme();
    Path canvas;
    canvas.rect(p);
    ctx.scene.fillStroke(std::move(canvas), theme.canvas, Stroke{theme.canvasBorder, 1});
    ctx.scene.add(ClipPush{p});
    for (const TrendLine& t : m.vtrendlines) {
        double x0 = X(t.start), x1 = X(t.end);
        Color col = withAlpha(parseColor(t.attrs.text("color"), rgb(0x999999)),
                              t.attrs.number("alpha", t.zone ? 20 : 100));
        if (t.zone) {
            ctx.scene.fillRect({std::min(x0, x1), p.y, std::fabs(x1 - x0), p.h}, col);
        } else {
            ctx.scene.line(x0, p.y, x0, p.bottom(), trendStroke(t.attrs, rgb(0x999999)));
        }
    }
    Stroke div{theme.divLine, 1};
    for (int i = 1; i < ys.divisions; ++i)
        ctx.scene.line(p.x, Y(ys.tick(i)), p.right(), Y(ys.tick(i)), div);
    Color vlineColor = parseColor(m.categoriesAttrs.text("verticallinecolor"), rgb(0x999999));
    double vlineWidth = std::clamp(m.categoriesAttrs.number("verticallinethickness", 1), 0.5, 10.0);
    for (const Category& cat : m.categories) {
        auto x = cat.attrs.optionalNumber("x");
        if (x && cat.attrs.flag("showverticalline", false))
            ctx.scene.line(X(*x), p.y, X(*x), p.bottom(), Stroke{vlineColor, vlineWidth});
    }
    for (const TrendLine& t : m.trendlines) {
        if (t.zone) {
            double y0 = Y(t.start), y1 = Y(t.end);
            ctx.scene.fillRect({p.x, std::min(y0, y1), p.w, std::fabs(y1 - y0)},
                               withAlpha(parseColor(t.attrs.text("color"), rgb(0x999999)),
                                         t.attrs.number("alpha", 20)));
        } else {
            ctx.scene.line(p.x, Y(t.start), p.right(), Y(t.end),
                           trendStroke(t.attrs, rgb(0x333333)));
        }
    }
    ctx.scene.add(ClipPop{});

    // The points: one stamped marker per scatter series; sized circles for bubbles.
    bool clip = !bubble || c.flag("clipbubbles", true);
    if (clip) ctx.scene.add(ClipPush{p});
    // The largest bubble takes less of the plot the more bubbles share it, so a few hundred
    // stay apart instead of melting into one blob.
    double share = 0.09 * std::sqrt(20.0 / std::max<double>(static_cast<double>(count), 20.0));
    double maxR = std::min(p.w, p.h) * std::max(share, 0.015) *
                  std::clamp(c.number("bubblescale", 1), 0.1, 5.0);
    bool threeD = c.flag("is3d", false);
    ValueLabels values(ctx, {0, 0, ctx.width, ctx.height});
    for (std::size_t d = 0; d < m.datasets.size(); ++d) {
        const Series& s = m.datasets[d];
        Color col = colors[d];
        MarkerItem markers;
        double sides = s.attrs.number("anchorsides", c.number("anchorsides", 0));
        markers.sides = sides >= 3 && sides <= 20 ? static_cast<int>(sides) : 0;
        markers.radius =
            std::clamp(s.attrs.number("anchorradius", c.number("anchorradius", 3)), 1.0, 30.0);
        markers.fill = parseColor(s.attrs.text("anchorbgcolor"), col);
        // A border colour the document gives is kept; the default one stands out from the canvas.
        markers.border = Stroke{
            parseColor(s.attrs.text("anchorbordercolor"), legibleOn(shade(col, 0.7), theme.canvas)),
            1};
        bool showValues = s.attrs.flag("showvalues", c.flag("showvalues", false));
        markers.points.reserve(s.xy.size());
        double hitRadius = std::max(markers.radius + 1, 4.0);
        // Scatter points are many: their hit regions are kept compactly, and their texts are
        // worked out only for the point asked about (describeXYPoint).
        if (!bubble)
            ctx.scene.pointHits.beginSet("point", s.name, static_cast<int>(d),
                                         ctx.scene.hits.size());
        LayoutSeries drawnSeries;
        drawnSeries.name = s.name;
        drawnSeries.renderAs = bubble ? "bubble" : "scatter";
        drawnSeries.points = s.xy.size();
        for (std::size_t i = 0; i < s.xy.size(); ++i) {
            const XYPoint& pt = s.xy[i];
            if (isMissing(pt.x) || isMissing(pt.y)) continue;
            if (logAxes && (pt.x <= 0 || pt.y <= 0)) continue;
            Point at{X(pt.x), Y(pt.y)};
            if (p.contains(at)) ++drawnSeries.drawn;
            if (!bubble) {
                markers.points.push_back(at);
                if (p.contains(at)) ctx.scene.pointHits.add(at, hitRadius, static_cast<int>(i));
                if (showValues)
                    values.place({TextKind::ValueLabel, static_cast<int>(d), static_cast<int>(i)},
                                 yf.format(pt.y), at.x, at.y - markers.radius - 2, HAlign::Center,
                                 VAlign::Bottom);
                continue;
            }
            HitRegion hit;
            hit.shape = HitRegion::Shape::Circle;
            hit.center = at;
            hit.series = s.name;
            hit.seriesIndex = static_cast<int>(d);
            hit.pointIndex = static_cast<int>(i);
            const Attributes& pa = s.attrsOf(pt);
            hit.label = pa.text("name", pa.text("label"));
            hit.value = yf.format(pt.y);
            hit.link = pa.text("link");
            std::string where = xf.format(pt.x, xd) + ", " + yf.format(pt.y);
            double z = isMissing(pt.z) ? 0 : std::fabs(pt.z);
            double r = zmax > 0 ? std::max(2.0, maxR * std::sqrt(z / zmax)) : 4;
            Color fill = withAlpha(parseColor(pa.text("color"), col),
                                   pa.number("alpha", s.attrs.number("alpha", 75)));
            Path circle;
            circle.arc(at.x, at.y, r, r, 0, 2 * 3.141592653589793);
            circle.close();
            if (c.flag("showplotborder", true)) {
                ctx.scene.fillStroke(std::move(circle), fill, Stroke{shade(col, 0.6), 1});
            } else {
                ctx.scene.fillPath(std::move(circle), fill);
            }
            if (threeD) {
                Path shine;
                shine.arc(at.x - r * 0.3, at.y - r * 0.3, r * 0.35, r * 0.35, 0,
                          2 * 3.141592653589793);
                shine.close();
                ctx.scene.fillPath(std::move(shine), withAlpha(rgb(0xFFFFFF), 45));
            }
            hit.radius = r;
            hit.kind = "bubble";
            hit.toolText = pa.has("tooltext") ? pa.text("tooltext")
                                              : (hit.label.empty() ? "" : hit.label + ", ") +
                                                    where + ", " + NumberFormat{}.format(z);
            if (showValues)
                values.place({TextKind::ValueLabel, static_cast<int>(d), static_cast<int>(i)},
                             hit.label, at.x, at.y, HAlign::Center, VAlign::Middle);
            ctx.scene.hits.push_back(std::move(hit));
        }
        if (!markers.points.empty()) ctx.scene.add(std::move(markers));
        if (drawnSeries.drawn < drawnSeries.points)
            ctx.scene.layout.notes.push_back(
                s.name + ": " + std::to_string(drawnSeries.points - drawnSeries.drawn) +
                " points not drawn: missing values, outside the axis limits, or not positive "
                "on logarithmic axes");
        ctx.scene.layout.series.push_back(std::move(drawnSeries));
    }
    if (clip) ctx.scene.add(ClipPop{});
    values.flush();

    // Axes, labels and names.
    Stroke axis{theme.axisLine, 1};
    ctx.scene.line(p.x, p.y, p.x, p.bottom(), axis);
    ctx.scene.line(p.x, p.bottom(), p.right(), p.bottom(), axis);
    int every = 1;
    while (p.h / std::max(ys.divisions, 1) * every < lineH * 1.2 && every < 1000)
        ++every;
    ChartLayout& layout = ctx.scene.layout;
    layout.plot = p;
    LayoutAxis& yAxis = layout.axisFor("y");
    yAxis.min = ys.min;
    yAxis.max = ys.max;
    yAxis.log = ys.log;
    for (int i = 0; i <= ys.divisions; ++i) {
        LayoutTick tick;
        tick.value = ys.tick(i);
        if (i % every == 0) {
            tick.label = yf.format(ys.tick(i), digits(ys, ys.tick(i), yd));
            tick.box = addText(ctx, {TextKind::Tick}, tick.label, tickFont, p.x - 5, Y(ys.tick(i)),
                               HAlign::Right, VAlign::Middle);
        }
        yAxis.ticks.push_back(std::move(tick));
    }
    LayoutAxis& xAxis = layout.axisFor("x");
    xAxis.min = xs.min;
    xAxis.max = xs.max;
    xAxis.log = xs.log;
    std::vector<std::pair<double, std::string>> xLabels;
    if (!m.categories.empty()) {
        for (const Category& cat : m.categories) {
            if (auto x = cat.attrs.optionalNumber("x")) xLabels.emplace_back(*x, cat.label);
        }
    } else {
        for (int i = 0; i <= xs.divisions; ++i)
            xLabels.emplace_back(xs.tick(i), xf.format(xs.tick(i), digits(xs, xs.tick(i), xd)));
    }
    double lastRight = -1e300;
    std::size_t thinned = 0;
    for (const auto& [x, text] : xLabels) {
        if (x < xs.min || x > xs.max || text.empty()) continue;
        TextItem probe;
        probe.tag = {m.categories.empty() ? TextKind::Tick : TextKind::CategoryLabel};
        probe.text = text;
        probe.font = labelFont;
        probe.x = X(x);
        probe.y = p.bottom() + lineH / 2 + 2;
        probe.h = rotate ? HAlign::Right : HAlign::Center;
        probe.v = rotate ? VAlign::Middle : VAlign::Top;
        probe.angle = rotate ? -90 : 0;
        probe.maxWidth = rotate ? labelExtent - 8 : 0;
        ctx.text.place(probe);
        if (probe.box.x < lastRight + 2) { // would touch the previous label
            ++thinned;
            continue;
        }
        lastRight = probe.box.right();
        xAxis.ticks.push_back(LayoutTick{x, text, probe.box});
        ctx.scene.add(std::move(probe));
    }
    if (thinned > 0)
        layout.notes.push_back(std::to_string(thinned) +
                               " x-axis labels thinned: they would overlap their neighbours");
    for (const TrendLine& t : m.trendlines) {
        std::string label = t.attrs.text("displayvalue");
        if (label.empty()) continue;
        Font f = ctx.style.font(TextRole::TrendValues);
        f.color = parseColor(t.attrs.text("color"), f.color);
        if (t.attrs.flag("valueonright", false)) {
            addText(ctx, {TextKind::Trend}, label, f, p.right() + 4, Y(t.end), HAlign::Left,
                    VAlign::Middle);
        } else {
            addText(ctx, {TextKind::Trend}, label, f, p.right() - 3, Y(t.end) - 2, HAlign::Right,
                    VAlign::Bottom);
        }
    }
    for (const TrendLine& t : m.vtrendlines) {
        std::string label = t.attrs.text("displayvalue");
        if (label.empty()) continue;
        Font f = ctx.style.font(TextRole::TrendValues);
        double x0 = std::max(X(t.start), p.x), x1 = std::min(X(t.end), p.right());
        addText(ctx, {TextKind::Trend}, label, f, (x0 + x1) / 2, p.y + 3, HAlign::Center,
                VAlign::Top, 0, std::max(std::fabs(x1 - x0) - 4, 10.0));
    }
    if (!yName.empty())
        addText(ctx, {TextKind::AxisName}, yName, nameFont, area.x + lineH / 2, p.y + p.h / 2,
                HAlign::Center, VAlign::Middle, -90, p.h);
    if (!xName.empty())
        addText(ctx, {TextKind::AxisName}, xName, ctx.style.font(TextRole::XAxisName),
                p.x + p.w / 2, p.bottom() + labelExtent + 2, HAlign::Center, VAlign::Top, 0, p.w);
    return true;
}

} // namespace plotara::player

// Filled areas between each series and its base (zero, or the series below in a stack).
#include "player/cartesian/PointColors.h"
#include "player/cartesian/PointLayout.h"
#include "player/cartesian/SeriesDrawing.h"

#include <algorithm>

namespace plotara::player {

namespace {

// Cuts a chain of points that advances along the category axis (x, or y for bars) to [lo, hi],
// with the points where it crosses the bounds worked out on its segments.
std::vector<Point> cutChain(const std::vector<Point>& chain, double lo, double hi, bool byY) {
    auto along = [byY](const Point& p) { return byY ? p.y : p.x; };
    auto at = [&](const Point& a, const Point& b, double t) {
        double f = (t - along(a)) / (along(b) - along(a));
        return Point{a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
    };
    std::vector<Point> out;
    for (std::size_t k = 0; k < chain.size(); ++k) {
        const Point& p = chain[k];
        if (k > 0) {
            const Point& q = chain[k - 1];
            if (along(q) < lo && along(p) > lo) out.push_back(at(q, p, lo));
            if (along(q) < hi && along(p) > hi) out.push_back(at(q, p, hi));
        }
        if (along(p) >= lo && along(p) <= hi) out.push_back(p);
    }
    return out;
}

// The run over categories [i, j): its top along the values and its bottom along the bases.
AreaRun layoutRun(const PlotGeometry& g, const PlotSeries& s, std::size_t i, std::size_t j,
                  bool cut, bool colored) {
    AreaRun run;
    std::vector<Point>& bottom = run.bottom;
    for (std::size_t k = i; k < j; ++k) {
        double b = k < s.base.size() ? s.base[k] : 0;
        run.top.push_back(g.edgeAt(k, b + s.values[k], s.secondary));
        bottom.push_back(g.edgeAt(k, b, s.secondary));
        if (colored) run.colors.push_back(pointColor(s, k));
    }
    if (j - i == 1) {
        // A lone value: a thin sliver of a slot so it still shows.
        double w = g.slotOf(j - 1) * 0.15;
        Point t = run.top[0], b = bottom[0];
        run.top = g.horizontal ? std::vector<Point>{{t.x, t.y - w}, {t.x, t.y + w}}
                               : std::vector<Point>{{t.x - w, t.y}, {t.x + w, t.y}};
        bottom = g.horizontal ? std::vector<Point>{{b.x, b.y - w}, {b.x, b.y + w}}
                              : std::vector<Point>{{b.x - w, b.y}, {b.x + w, b.y}};
        if (colored) run.colors.push_back(run.colors.front());
    }
    run.polygon = run.top;
    run.polygon.insert(run.polygon.end(), bottom.rbegin(), bottom.rend());
    run.shown = run.polygon;
    if (cut) {
        double lo = g.horizontal ? g.plot.y : g.plot.x;
        double hi = g.horizontal ? g.plot.bottom() : g.plot.right();
        run.shown = cutChain(run.top, lo, hi, g.horizontal);
        std::vector<Point> base = cutChain(bottom, lo, hi, g.horizontal);
        run.shown.insert(run.shown.end(), base.rbegin(), base.rend());
    }
    if (!colored) std::vector<Point>().swap(run.bottom); // the polygon holds it
    return run;
}

// A run of consecutive values makes one polygon; a missing value ends the run. In a window of
// a scroll chart the runs go on to the categories just outside it, and the plot's clip cuts
// them at the edge.
void layoutRuns(AreaShape& a, const PlotGeometry& g, const PlotSeries& s, std::size_t end) {
    std::size_t from = g.first > 0 ? g.first - 1 : 0;
    std::size_t to = std::min(end + 1, s.values.size());
    bool cut = from < g.first || to > end;
    const bool colored = hasPointColors(s);
    std::size_t i = from;
    while (i < to) {
        while (i < to && isMissing(s.values[i]))
            ++i;
        std::size_t j = i;
        while (j < to && !isMissing(s.values[j]))
            ++j;
        if (j > i) a.runs.push_back(layoutRun(g, s, i, j, cut, colored));
        i = j;
    }
}

AreaShape layoutArea(const PlotGeometry& g, const PlotSeries& s, const SeriesStyle& style) {
    AreaShape a;
    a.series = &s;
    std::size_t end = std::min(g.first + g.count, s.values.size());
    double alpha = s.source ? s.source->attrs.number("alpha", s.stack >= 0 ? 90 : 70)
                            : (s.stack >= 0 ? 90 : 70);
    a.fill = withAlpha(s.color, std::min(alpha, s.alpha));
    a.edge = withAlpha(shade(s.color, 0.7), 100);
    layoutRuns(a, g, s, end);
    const NumberFormat& fmt = s.secondary ? style.secondaryFormat : style.primaryFormat;
    for (std::size_t k = g.first; k < end; ++k) {
        double v = s.values[k];
        if (isMissing(v)) continue;
        double b = k < s.base.size() ? s.base[k] : 0;
        Point p = g.at(k, b + v, s.secondary);
        a.spots.push_back({&s, k, p, 5});
        std::optional<std::string> text = pointLabel(s, k, fmt);
        if (!text) continue;
        ValueOffer o{{TextKind::ValueLabel, s.index, static_cast<int>(k)}, *text, p.x, p.y - 3};
        a.labels.push_back(std::move(o));
    }
    return a;
}

// The top edge of a run (or of a part of one) as an open path.
Path topEdge(const std::vector<Point>& top) {
    Path outline;
    for (std::size_t k = 0; k < top.size(); ++k) {
        if (k == 0) {
            outline.moveTo(top[k].x, top[k].y);
        } else {
            outline.lineTo(top[k].x, top[k].y);
        }
    }
    return outline;
}

// A run whose sets give their own colours: each stretch of one colour is filled (and edged)
// in it, from halfway to the point before to halfway to the point after.
void drawColoredRun(ChartContext& ctx, const AreaShape& a, const AreaRun& run, bool border) {
    for (const ColorStretch& stretch : colorStretches(run.colors)) {
        std::vector<Point> top = stretchPoints(run.top, stretch);
        std::vector<Point> polygon = top;
        const std::vector<Point> bottom = stretchPoints(run.bottom, stretch);
        polygon.insert(polygon.end(), bottom.rbegin(), bottom.rend());
        Color fill = stretch.color;
        fill.a = a.fill.a;
        Path fillPath;
        fillPath.polygon(polygon);
        ctx.scene.fillPath(std::move(fillPath), fill);
        if (border)
            ctx.scene.strokePath(topEdge(top),
                                 Stroke{withAlpha(shade(stretch.color, 0.7), 100), 1.2});
    }
}

void drawRun(ChartContext& ctx, const AreaShape& a, AreaRun& run, bool border) {
    if (!run.colors.empty()) {
        drawColoredRun(ctx, a, run, border);
    } else {
        Path fillPath;
        fillPath.polygon(run.polygon);
        ctx.scene.fillPath(std::move(fillPath), a.fill);
        if (border) ctx.scene.strokePath(topEdge(run.top), Stroke{a.edge, 1.2});
    }
    if (run.shown.size() < 3) return;
    HitRegion hit;
    hit.shape = HitRegion::Shape::Polygon;
    hit.polygon = std::move(run.shown);
    hit.kind = HitKind::Area;
    hit.series = a.series->name;
    hit.seriesIndex = a.series->index;
    hit.toolText = a.series->name;
    ctx.scene.hits.push_back(std::move(hit));
}

} // namespace

std::vector<AreaShape> layoutAreas(const PlotGeometry& g, const std::vector<PlotSeries>& series,
                                   const SeriesStyle& style) {
    std::vector<AreaShape> layout;
    for (const PlotSeries& s : series) {
        if (s.kind == PlotKind::Area) layout.push_back(layoutArea(g, s, style));
    }
    return layout;
}

void drawAreas(ChartContext& ctx, std::vector<AreaShape>& areas, bool border) {
    for (AreaShape& a : areas) {
        ctx.scene.markSeries(a.series ? a.series->index : -1);
        for (AreaRun& run : a.runs)
            drawRun(ctx, a, run, border);
        for (const PointSpot& spot : a.spots)
            addSpot(ctx, spot, HitKind::Point);
    }
    ctx.scene.markSeries(-1);
}

} // namespace plotara::player

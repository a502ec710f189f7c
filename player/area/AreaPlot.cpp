// Filled areas between each series and its base (zero, or the series below in a stack).
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

} // namespace

void drawAreas(ChartContext& ctx, const PlotGeometry& g, const std::vector<PlotSeries>& series,
               const SeriesStyle& style, ValueLabels& values) {
    std::size_t last = g.first + g.count;
    for (const PlotSeries& s : series) {
        if (s.kind != PlotKind::Area) continue;
        std::size_t end = std::min(last, s.values.size());
        double alpha = s.source ? s.source->attrs.number("alpha", s.stack >= 0 ? 90 : 70)
                                : (s.stack >= 0 ? 90 : 70);
        Color fill = withAlpha(s.color, std::min(alpha, s.alpha));
        Color edge = withAlpha(shade(s.color, 0.7), 100);
        // A run of consecutive values makes one polygon; a missing value ends the run. In a
        // window of a scroll chart the runs go on to the categories just outside it, and the
        // plot's clip cuts them at the edge.
        std::size_t from = g.first > 0 ? g.first - 1 : 0;
        std::size_t to = std::min(end + 1, s.values.size());
        std::size_t i = from;
        while (i < to) {
            while (i < to && isMissing(s.values[i]))
                ++i;
            std::size_t j = i;
            while (j < to && !isMissing(s.values[j]))
                ++j;
            if (j > i) {
                std::vector<Point> top, bottom;
                for (std::size_t k = i; k < j; ++k) {
                    double b = k < s.base.size() ? s.base[k] : 0;
                    top.push_back(g.at(k, b + s.values[k], s.secondary));
                    bottom.push_back(g.at(k, b, s.secondary));
                }
                if (j - i == 1) {
                    // A lone value: a thin sliver of a slot so it still shows.
                    double w = g.slot() * 0.15;
                    Point t = top[0], b = bottom[0];
                    top = g.horizontal ? std::vector<Point>{{t.x, t.y - w}, {t.x, t.y + w}}
                                       : std::vector<Point>{{t.x - w, t.y}, {t.x + w, t.y}};
                    bottom = g.horizontal ? std::vector<Point>{{b.x, b.y - w}, {b.x, b.y + w}}
                                          : std::vector<Point>{{b.x - w, b.y}, {b.x + w, b.y}};
                }
                std::vector<Point> poly = top;
                for (auto it = bottom.rbegin(); it != bottom.rend(); ++it)
                    poly.push_back(*it);
                // The region that answers hits is the part inside the plot.
                std::vector<Point> shown = poly;
                if (from < g.first || to > end) {
                    double lo = g.horizontal ? g.plot.y : g.plot.x;
                    double hi = g.horizontal ? g.plot.bottom() : g.plot.right();
                    shown = cutChain(top, lo, hi, g.horizontal);
                    std::vector<Point> base = cutChain(bottom, lo, hi, g.horizontal);
                    for (auto it = base.rbegin(); it != base.rend(); ++it)
                        shown.push_back(*it);
                }
                Path fillPath;
                fillPath.polygon(poly);
                ctx.scene.fillPath(std::move(fillPath), fill);
                if (style.showPlotBorder) {
                    Path outline;
                    for (std::size_t k = 0; k < top.size(); ++k) {
                        if (k == 0) {
                            outline.moveTo(top[k].x, top[k].y);
                        } else {
                            outline.lineTo(top[k].x, top[k].y);
                        }
                    }
                    ctx.scene.strokePath(std::move(outline), Stroke{edge, 1.2});
                }
                if (shown.size() >= 3) {
                    HitRegion hit;
                    hit.shape = HitRegion::Shape::Polygon;
                    hit.polygon = std::move(shown);
                    hit.kind = "area";
                    hit.series = s.name;
                    hit.seriesIndex = s.index;
                    hit.toolText = s.name;
                    ctx.scene.hits.push_back(std::move(hit));
                }
            }
            i = j;
        }
        const NumberFormat& fmt = s.secondary ? style.secondaryFormat : style.primaryFormat;
        for (std::size_t k = g.first; k < end; ++k) {
            double v = s.values[k];
            if (isMissing(v)) continue;
            double b = k < s.base.size() ? s.base[k] : 0;
            Point p = g.at(k, b + v, s.secondary);
            const Attributes* pa =
                s.source && k < s.source->points.size() ? &s.source->points[k].attrs : nullptr;
            HitRegion hit;
            hit.shape = HitRegion::Shape::Circle;
            hit.center = p;
            hit.radius = 5;
            hit.kind = "point";
            markPoint(hit, s, k);
            ctx.scene.hits.push_back(std::move(hit));
            if (s.showValues && (!pa || pa->flag("showvalue", true))) {
                std::string text = fmt.format(v);
                std::string shown = pa && pa->has("displayvalue") ? pa->text("displayvalue") : text;
                values.place({TextKind::ValueLabel, s.index, static_cast<int>(k)}, shown, p.x,
                             p.y - 3, HAlign::Center, VAlign::Bottom);
            }
        }
    }
}

} // namespace plotara::player

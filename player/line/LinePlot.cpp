// Lines through the category centres, broken at missing values, with anchors.
#include "player/cartesian/PointLayout.h"
#include "player/cartesian/SeriesDrawing.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

namespace {

struct AnchorLook {
    bool show = true;
    int sides = 0;
    double radius = 3;
    Color fill, border;
    double borderWidth = 1;
};

AnchorLook anchorLook(const ChartContext& ctx, const PlotSeries& s, std::size_t points) {
    const Attributes& c = ctx.model.chart;
    const Attributes* sa = s.source ? &s.source->attrs : nullptr;
    auto pick = [&](const char* name) -> const std::string* {
        if (sa) {
            if (const std::string* v = sa->find(name)) return v;
        }
        return c.find(name);
    };
    auto num = [&](const char* name, double fallback) {
        const std::string* v = pick(name);
        if (!v) return fallback;
        Attributes tmp;
        tmp.set("v", *v);
        return tmp.number("v", fallback);
    };
    AnchorLook a;
    // Dense lines get no anchors unless the document asks for them.
    a.show = num("drawanchors", points <= 60 ? 1 : 0) != 0;
    double sides = num("anchorsides", 0);
    a.sides = sides >= 3 && sides <= 20 ? static_cast<int>(sides) : 0;
    a.radius = std::clamp(num("anchorradius", 3), 1.0, 30.0);
    a.fill = parseColor(pick("anchorbgcolor") ? *pick("anchorbgcolor") : "", rgb(0xFFFFFF));
    // A border colour the document gives is kept; the default one stands out from the canvas.
    a.border = parseColor(pick("anchorbordercolor") ? *pick("anchorbordercolor") : "",
                          legibleOn(s.color, ctx.style.theme().canvas));
    a.borderWidth = std::clamp(num("anchorborderthickness", 1), 0.0, 10.0);
    return a;
}

Stroke lineStroke(const ChartContext& ctx, const PlotSeries& s) {
    const Attributes* sa = s.source ? &s.source->attrs : nullptr;
    double fallback = ctx.model.chart.number("linethickness", 2);
    double thickness = std::clamp(sa ? sa->number("linethickness", fallback) : fallback, 0.5, 20.0);
    Stroke stroke{withAlpha(s.color, s.alpha), thickness};
    if (sa && sa->flag("dashed", false)) {
        stroke.dash = sa->number("linedashlen", 5);
        stroke.gap = sa->number("linedashgap", 4);
    }
    return stroke;
}

// The path through the series' values, broken at missing ones. In a window of a scroll chart
// the line runs on to the categories just outside it, and the plot's clip cuts it at the edge.
// Returns how many of the traced points lie inside the window.
std::size_t traceLine(LineTrace& t, const PlotGeometry& g, const PlotSeries& s, std::size_t end) {
    bool open = false;
    std::size_t drawn = 0;
    std::size_t from = g.first > 0 ? g.first - 1 : 0;
    std::size_t to = std::min(end + 1, s.values.size());
    for (std::size_t i = from; i < to; ++i) {
        double v = s.values[i];
        if (isMissing(v)) {
            open = false;
            continue;
        }
        Point p = g.at(i, v + (i < s.base.size() ? s.base[i] : 0), s.secondary);
        if (open) {
            t.path.lineTo(p.x, p.y);
        } else {
            t.path.moveTo(p.x, p.y);
            open = true;
        }
        ++t.traced;
        drawn += g.visible(i);
    }
    return drawn;
}

// Anchors, hit circles and value labels of the points inside the window. Peaks and troughs
// keep their labels first: the priority is the distance from the mean.
void layoutPoints(LineTrace& t, const PlotGeometry& g, const PlotSeries& s, const AnchorLook& a,
                  bool anchors, std::size_t end, const NumberFormat& fmt) {
    double sum = 0, n = 0;
    for (std::size_t i = g.first; i < end; ++i) {
        if (!isMissing(s.values[i])) sum += s.values[i], n += 1;
    }
    double mean = n > 0 ? sum / n : 0;
    for (std::size_t i = g.first; i < end; ++i) {
        double v = s.values[i];
        if (isMissing(v)) continue;
        Point p = g.at(i, v + (i < s.base.size() ? s.base[i] : 0), s.secondary);
        if (anchors) t.markers.points.push_back(p);
        t.spots.push_back({&s, i, p, std::max(a.radius + 2, 5.0)});
        std::optional<std::string> text = pointLabel(s, i, fmt);
        if (!text) continue;
        ValueOffer o{{TextKind::ValueLabel, s.index, static_cast<int>(i)}, *text};
        o.priority = std::fabs(v - mean);
        if (g.horizontal) {
            o.x = p.x + a.radius + 2, o.y = p.y, o.h = HAlign::Left, o.v = VAlign::Middle;
        } else {
            o.x = p.x, o.y = p.y - a.radius - 2, o.h = HAlign::Center, o.v = VAlign::Bottom;
        }
        t.labels.push_back(std::move(o));
    }
}

LineTrace layoutLine(const ChartContext& ctx, const PlotGeometry& g, const PlotSeries& s,
                     const SeriesStyle& style) {
    LineTrace t;
    std::size_t end = std::min(g.first + g.count, s.values.size());
    t.stroke = lineStroke(ctx, s);
    t.edge = legibleOn(t.stroke.color, ctx.style.theme().canvas);
    std::size_t drawn = traceLine(t, g, s, end);
    AnchorLook a = anchorLook(ctx, s, end > g.first ? end - g.first : 0);
    t.markers.sides = a.sides;
    t.markers.radius = a.radius;
    t.markers.fill = a.fill;
    t.markers.bordered = a.borderWidth > 0;
    t.markers.border = Stroke{a.border, a.borderWidth};
    // A lone point inside the window gets its anchor even when anchors are off.
    const NumberFormat& fmt = s.secondary ? style.secondaryFormat : style.primaryFormat;
    layoutPoints(t, g, s, a, a.show || drawn == 1, end, fmt);
    return t;
}

void drawLine(ChartContext& ctx, LineTrace& t) {
    // A light line gets a darker edge so it stands out from the canvas.
    if (t.traced > 1 && !(t.edge == t.stroke.color)) {
        Stroke outline = t.stroke;
        outline.color = t.edge;
        outline.width = t.stroke.width + 1.5;
        ctx.scene.strokePath(t.path, outline);
    }
    if (t.traced > 1) ctx.scene.strokePath(std::move(t.path), t.stroke);
    for (const PointSpot& spot : t.spots)
        addSpot(ctx, spot, "anchor");
    if (!t.markers.points.empty()) ctx.scene.add(std::move(t.markers));
}

} // namespace

std::vector<LineTrace> layoutLines(const ChartContext& ctx, const PlotGeometry& g,
                                   const std::vector<PlotSeries>& series,
                                   const SeriesStyle& style) {
    std::vector<LineTrace> layout;
    for (const PlotSeries& s : series) {
        if (s.kind == PlotKind::Line) layout.push_back(layoutLine(ctx, g, s, style));
    }
    return layout;
}

void drawLines(ChartContext& ctx, std::vector<LineTrace>& lines) {
    for (LineTrace& t : lines)
        drawLine(ctx, t);
}

} // namespace plotara::player

// Lines through the category centres, broken at missing values, with anchors.
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

} // namespace

void drawLines(ChartContext& ctx, const PlotGeometry& g, const std::vector<PlotSeries>& series,
               const SeriesStyle& style, ValueLabels& values) {
    std::size_t last = g.first + g.count;
    for (const PlotSeries& s : series) {
        if (s.kind != PlotKind::Line) continue;
        const Attributes* sa = s.source ? &s.source->attrs : nullptr;
        double thickness =
            std::clamp(sa ? sa->number("linethickness", ctx.model.chart.number("linethickness", 2))
                          : ctx.model.chart.number("linethickness", 2),
                       0.5, 20.0);
        Color color = withAlpha(s.color, s.alpha);
        Stroke stroke{color, thickness};
        if (sa && sa->flag("dashed", false)) {
            stroke.dash = sa->number("linedashlen", 5);
            stroke.gap = sa->number("linedashgap", 4);
        }
        Path path;
        bool open = false;
        std::size_t drawn = 0, traced = 0;
        std::size_t end = std::min(last, s.values.size());
        // In a window of a scroll chart the line runs on to the categories just outside it, and
        // the plot's clip cuts it at the edge.
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
                path.lineTo(p.x, p.y);
            } else {
                path.moveTo(p.x, p.y);
                open = true;
            }
            ++traced;
            drawn += g.visible(i);
        }
        // A light line gets a darker edge so it stands out from the canvas.
        Color canvas = ctx.style.theme().canvas;
        Color edge = legibleOn(color, canvas);
        if (traced > 1 && !(edge == color)) {
            Stroke outline = stroke;
            outline.color = edge;
            outline.width = stroke.width + 1.5;
            ctx.scene.strokePath(path, outline);
        }
        if (traced > 1) ctx.scene.strokePath(std::move(path), stroke);

        AnchorLook a = anchorLook(ctx, s, end > g.first ? end - g.first : 0);
        MarkerItem markers;
        markers.sides = a.sides;
        markers.radius = a.radius;
        markers.fill = a.fill;
        markers.bordered = a.borderWidth > 0;
        markers.border = Stroke{a.border, a.borderWidth};
        const NumberFormat& fmt = s.secondary ? style.secondaryFormat : style.primaryFormat;
        // Peaks and troughs keep their labels first: the priority is the distance from the mean.
        double sum = 0, n = 0;
        for (std::size_t i = g.first; i < end; ++i) {
            if (!isMissing(s.values[i])) sum += s.values[i], n += 1;
        }
        double mean = n > 0 ? sum / n : 0;
        for (std::size_t i = g.first; i < end; ++i) {
            double v = s.values[i];
            if (isMissing(v)) continue;
            Point p = g.at(i, v + (i < s.base.size() ? s.base[i] : 0), s.secondary);
            if (a.show || drawn == 1) markers.points.push_back(p);
            const Attributes* pa =
                s.source && i < s.source->points.size() ? &s.source->points[i].attrs : nullptr;
            HitRegion hit;
            hit.shape = HitRegion::Shape::Circle;
            hit.center = p;
            hit.radius = std::max(a.radius + 2, 5.0);
            hit.kind = "anchor";
            markPoint(hit, s, i);
            ctx.scene.hits.push_back(std::move(hit));
            if (s.showValues && (!pa || pa->flag("showvalue", true))) {
                std::string text = fmt.format(v);
                std::string shown = pa && pa->has("displayvalue") ? pa->text("displayvalue") : text;
                if (g.horizontal) {
                    values.place({TextKind::ValueLabel, s.index, static_cast<int>(i)}, shown,
                                 p.x + a.radius + 2, p.y, HAlign::Left, VAlign::Middle, 0, nullptr,
                                 std::fabs(v - mean));
                } else {
                    values.place({TextKind::ValueLabel, s.index, static_cast<int>(i)}, shown, p.x,
                                 p.y - a.radius - 2, HAlign::Center, VAlign::Bottom, 0, nullptr,
                                 std::fabs(v - mean));
                }
            }
        }
        if (!markers.points.empty()) ctx.scene.add(std::move(markers));
    }
}

} // namespace plotara::player

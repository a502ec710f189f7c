// Lines through the category centres, broken at missing values, with anchors.
#include "player/cartesian/PointColors.h"
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
    bool borderGiven = false; // the document names the border colour
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
    a.borderGiven = pick("anchorbordercolor") != nullptr;
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

// A piece drawn with the line's stroke in the colour given, at the series' alpha.
LinePiece linePiece(const Stroke& stroke, Color color, Color canvas) {
    LinePiece piece;
    piece.stroke = stroke;
    color.a = stroke.color.a; // the series' alpha
    piece.stroke.color = color;
    piece.edge = legibleOn(piece.stroke.color, canvas);
    return piece;
}

// Adds the points to the path as one open polyline.
void addPolyline(Path& path, const std::vector<Point>& points) {
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (k == 0) {
            path.moveTo(points[k].x, points[k].y);
        } else {
            path.lineTo(points[k].x, points[k].y);
        }
    }
}

// The path through the series' values, broken at missing ones; where the sets give their own
// colours, one piece for each stretch of one colour. In a window of a scroll chart the line
// runs on to the categories just outside it, and the plot's clip cuts it at the edge. Returns
// how many of the traced points lie inside the window.
std::size_t traceLine(LineTrace& t, const PlotGeometry& g, const PlotSeries& s, std::size_t end,
                      const Stroke& stroke, Color canvas) {
    // One colour: the path is traced directly. Colours of the sets: each run of values is
    // gathered first, then cut into its stretches of one colour.
    const bool colored = hasPointColors(s);
    if (!colored) t.pieces.push_back(linePiece(stroke, s.color, canvas));
    std::vector<Point> chain;
    std::vector<Color> colors;
    auto endRun = [&] {
        for (const ColorStretch& stretch : colorStretches(colors)) {
            t.pieces.push_back(linePiece(stroke, stretch.color, canvas));
            addPolyline(t.pieces.back().path, stretchPoints(chain, stretch));
        }
        chain.clear();
        colors.clear();
    };
    bool open = false;
    std::size_t drawn = 0;
    std::size_t from = g.first > 0 ? g.first - 1 : 0;
    std::size_t to = std::min(end + 1, s.values.size());
    for (std::size_t i = from; i < to; ++i) {
        double v = s.values[i];
        if (isMissing(v)) {
            if (colored) endRun();
            open = false;
            continue;
        }
        Point p = g.edgeAt(i, v + (i < s.base.size() ? s.base[i] : 0), s.secondary);
        if (colored) {
            chain.push_back(p);
            colors.push_back(pointColor(s, i));
        } else if (open) {
            t.pieces.front().path.lineTo(p.x, p.y);
        } else {
            t.pieces.front().path.moveTo(p.x, p.y);
        }
        open = true;
        ++t.traced;
        drawn += g.visible(i);
    }
    if (colored) endRun();
    return drawn;
}

// Adds an anchor to the markers: to the last item when it has the same border, else to a new
// item with the look and this border.
void addAnchor(LineTrace& t, const AnchorLook& a, Color border, Point p) {
    if (t.markers.empty() || !(t.markers.back().border.color == border)) {
        MarkerItem m;
        m.sides = a.sides;
        m.radius = a.radius;
        m.fill = a.fill;
        m.bordered = a.borderWidth > 0;
        m.border = Stroke{border, a.borderWidth};
        t.markers.push_back(std::move(m));
    }
    t.markers.back().points.push_back(p);
}

// Anchors, hit circles and value labels of the points inside the window. Peaks and troughs
// keep their labels first: the priority is the distance from the mean.
void layoutPoints(LineTrace& t, const PlotGeometry& g, const PlotSeries& s, const AnchorLook& a,
                  bool anchors, std::size_t end, const NumberFormat& fmt, Color canvas) {
    const bool colored = !a.borderGiven && hasPointColors(s);
    double sum = 0, n = 0;
    for (std::size_t i = g.first; i < end; ++i) {
        if (!isMissing(s.values[i])) sum += s.values[i], n += 1;
    }
    double mean = n > 0 ? sum / n : 0;
    // Every point in the window gets a hit circle: their room is made once.
    t.spots.reserve(static_cast<std::size_t>(n));
    for (std::size_t i = g.first; i < end; ++i) {
        double v = s.values[i];
        if (isMissing(v)) continue;
        Point p = g.at(i, v + (i < s.base.size() ? s.base[i] : 0), s.secondary);
        // A set's own colour edges its anchor unless the document names the anchors' border.
        if (anchors) addAnchor(t, a, colored ? legibleOn(pointColor(s, i), canvas) : a.border, p);
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
    const Color canvas = ctx.style.theme().canvas;
    std::size_t drawn = traceLine(t, g, s, end, lineStroke(ctx, s), canvas);
    AnchorLook a = anchorLook(ctx, s, end > g.first ? end - g.first : 0);
    // A lone point inside the window gets its anchor even when anchors are off.
    const NumberFormat& fmt = s.secondary ? style.secondaryFormat : style.primaryFormat;
    layoutPoints(t, g, s, a, a.show || drawn == 1, end, fmt, canvas);
    return t;
}

void drawLine(ChartContext& ctx, LineTrace& t) {
    // The points' hit circles go first and their spots are given back before the line is
    // stroked. Strokes add no hit regions, so the regions keep their order.
    for (const PointSpot& spot : t.spots)
        addSpot(ctx, spot, HitKind::Anchor);
    std::vector<PointSpot>().swap(t.spots);
    // A light line gets a darker edge so it stands out from the canvas; the edges of all pieces
    // go first, so that none covers a neighbouring piece. The edge is a second stroke of the
    // piece's own path: copying a Path shares its segments.
    if (t.traced > 1) {
        for (const LinePiece& piece : t.pieces) {
            if (piece.edge == piece.stroke.color) continue;
            Stroke outline = piece.stroke;
            outline.color = piece.edge;
            outline.width = piece.stroke.width + 1.5;
            ctx.scene.strokePath(piece.path, outline);
        }
        for (LinePiece& piece : t.pieces)
            ctx.scene.strokePath(std::move(piece.path), piece.stroke);
    }
    for (MarkerItem& m : t.markers)
        ctx.scene.add(std::move(m));
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
    for (LineTrace& t : lines) {
        ctx.scene.markSeries(t.spots.empty() ? -1 : t.spots.front().series->index);
        drawLine(ctx, t);
    }
    ctx.scene.markSeries(-1);
}

} // namespace plotara::player

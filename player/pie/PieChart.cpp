// Pie and doughnut charts: slices clockwise from the top, optionally pulled out, flat or with a
// 3D look (a tilted disc with a visible rim), labels outside with leader lines.
#include "player/Families.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotara::player {

namespace {

constexpr double pi = std::numbers::pi;

struct Slice {
    std::size_t index;
    double value;
    double a0, a1; // clockwise from the positive x axis, radians
    Color color;
    Point offset; // pulled-out slices move along their middle angle
    std::string label, text;
    const Attributes* attrs;
};

struct PieLabel {
    std::size_t slice;
    double y; // centre of the text
    double h, w;
    bool right;
};

// Pushes labels of one side apart so that none overlaps, inside [top, bottom].
void spread(std::vector<PieLabel>& labels, double top, double bottom) {
    std::sort(labels.begin(), labels.end(),
              [](const PieLabel& a, const PieLabel& b) { return a.y < b.y; });
    double y = top;
    for (PieLabel& l : labels) {
        l.y = std::max(l.y, y + l.h / 2);
        y = l.y + l.h / 2 + 1;
    }
    y = bottom;
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
        it->y = std::min(it->y, y - it->h / 2);
        y = it->y - it->h / 2 - 1;
    }
}

} // namespace

bool renderPie(ChartContext& ctx, const ChartMovie& movie) {
    const ChartModel& m = ctx.model;
    if (m.datasets.empty()) return false;
    const Series& s = m.datasets.front();
    const Attributes& c = m.chart;
    NumberFormat fmt = numberFormatOf(c);
    double total = 0;
    for (const DataPoint& p : s.points) {
        if (!isMissing(p.value) && p.value > 0) total += p.value;
    }
    if (!(total > 0) || !std::isfinite(total)) return false;

    bool threeD = movie.threeD || c.flag("is3d", false);
    bool doughnut = movie.family == Family::Doughnut;
    bool showNames = c.flag("shownames", c.flag("showlabels", true));
    bool showValues = c.flag("showvalues", true);
    bool showPercent = c.flag("showpercentvalues", false);
    bool showLegend = c.flag("showlegend", false);

    std::vector<Slice> slices;
    double angle = c.number("startingangle", -90) * pi / 180;
    std::size_t colorIndex = 0;
    for (std::size_t i = 0; i < s.points.size(); ++i) {
        const DataPoint& p = s.points[i];
        if (isMissing(p.value) || p.value <= 0) continue;
        double sweep = 2 * pi * p.value / total;
        Slice sl;
        sl.index = i;
        sl.value = p.value;
        sl.a0 = angle;
        sl.a1 = angle + sweep;
        angle += sweep;
        sl.color = withAlpha(parseColor(p.attrs.text("color"), ctx.style.seriesColor(colorIndex)),
                             p.attrs.number("alpha", 100));
        ++colorIndex;
        sl.label = i < m.categories.size() ? m.categories[i].label : std::string();
        std::string valueText = fmt.format(p.value);
        std::string percent =
            NumberFormat{"", "%", fmt.decimals < 0 ? 1 : fmt.decimals, false, false, false}.format(
                100 * p.value / total);
        std::string shown = showPercent ? percent : valueText;
        if (p.attrs.has("displayvalue")) shown = p.attrs.text("displayvalue");
        if (showNames && !sl.label.empty() && showValues) {
            sl.text = sl.label + ", " + shown;
        } else if (showNames) {
            sl.text = sl.label;
        } else if (showValues) {
            sl.text = shown;
        }
        sl.attrs = &p.attrs;
        slices.push_back(std::move(sl));
    }

    Rect area = drawTitles(ctx, marginArea(ctx));
    if (showLegend) {
        std::vector<LegendItem> items;
        for (const Slice& sl : slices)
            items.push_back({sl.label, sl.color, false});
        area = drawLegend(ctx, items, area);
    }
    Font font = ctx.style.font(TextRole::DataLabels);
    double lineH = ctx.text.measure("Ag", font).h;
    double widest = 0;
    for (const Slice& sl : slices)
        widest = std::max(widest, ctx.text.measure(sl.text, font).w);
    double labelRoom = std::min(widest, area.w * 0.28);
    double yScale = threeD ? 0.6 : 1.0;
    double rim = 0;
    double r = std::min((area.w - 2 * labelRoom - 50) / 2, (area.h - 30) / (2 * yScale));
    if (threeD) {
        rim = std::clamp(r * 0.15, 4.0, 24.0);
        r = std::min(r, (area.h - 30 - rim) / (2 * yScale));
    }
    r = std::max(r, 10.0);
    if (auto asked = c.optionalNumber("pieradius")) r = std::clamp(*asked, 5.0, r * 1.5);
    double inner = doughnut ? r * std::clamp(c.number("doughnutradius", r * 0.5) / r, 0.1, 0.9) : 0;
    Point centre{area.x + area.w / 2, area.y + area.h / 2 - rim / 2};
    double slicing = c.number("slicingdistance", r * 0.1);
    for (Slice& sl : slices) {
        if (sl.attrs->flag("issliced", false)) {
            double mid = (sl.a0 + sl.a1) / 2;
            sl.offset = {slicing * std::cos(mid), slicing * std::sin(mid) * yScale};
        }
    }
    bool border = c.flag("showplotborder", true);
    Stroke edge{withAlpha(rgb(0xFFFFFF), 80), 1};

    auto wedgePath = [&](const Slice& sl, double cy) {
        Path p;
        Point o{centre.x + sl.offset.x, cy + sl.offset.y};
        if (slices.size() == 1 && inner <= 0) {
            p.arc(o.x, o.y, r, r * yScale, 0, 2 * pi);
            p.close();
            return p;
        }
        p.moveTo(o.x + inner * std::cos(sl.a0), o.y + inner * yScale * std::sin(sl.a0));
        p.arc(o.x, o.y, r, r * yScale, sl.a0, sl.a1);
        if (inner > 0) {
            p.arcNegative(o.x, o.y, inner, inner * yScale, sl.a1, sl.a0);
        }
        p.close();
        return p;
    };

    if (threeD) {
        // The rim: the part of each slice's outer edge that faces the viewer (angles 0 to pi).
        for (const Slice& sl : slices) {
            for (int k = -1; k <= 1; ++k) {
                double lo = std::max(sl.a0, k * 2 * pi), hi = std::min(sl.a1, k * 2 * pi + pi);
                if (hi <= lo) continue;
                Point o{centre.x + sl.offset.x, centre.y + sl.offset.y};
                Path side;
                side.moveTo(o.x + r * std::cos(lo), o.y + r * yScale * std::sin(lo));
                side.arc(o.x, o.y, r, r * yScale, lo, hi);
                side.lineTo(o.x + r * std::cos(hi), o.y + rim + r * yScale * std::sin(hi));
                side.arcNegative(o.x, o.y + rim, r, r * yScale, hi, lo);
                side.close();
                ctx.scene.fillPath(std::move(side), shade(sl.color, 0.72));
            }
        }
        // The doughnut's inner wall: through the hole the viewer sees the wall of its far half
        // (angles pi to 2 pi). What lies outside the hole is covered by the top faces after.
        if (inner > 0) {
            for (const Slice& sl : slices) {
                for (int k = -1; k <= 1; ++k) {
                    double lo = std::max(sl.a0, k * 2 * pi + pi);
                    double hi = std::min(sl.a1, k * 2 * pi + 2 * pi);
                    if (hi <= lo) continue;
                    Point o{centre.x + sl.offset.x, centre.y + sl.offset.y};
                    Path wall;
                    wall.moveTo(o.x + inner * std::cos(lo), o.y + inner * yScale * std::sin(lo));
                    wall.arc(o.x, o.y, inner, inner * yScale, lo, hi);
                    wall.lineTo(o.x + inner * std::cos(hi),
                                o.y + rim + inner * yScale * std::sin(hi));
                    wall.arcNegative(o.x, o.y + rim, inner, inner * yScale, hi, lo);
                    wall.close();
                    ctx.scene.fillPath(std::move(wall), shade(sl.color, 0.55));
                }
            }
        }
    }
    for (const Slice& sl : slices) {
        if (border) {
            ctx.scene.fillStroke(wedgePath(sl, centre.y), sl.color, edge);
        } else {
            ctx.scene.fillPath(wedgePath(sl, centre.y), sl.color);
        }
        HitRegion hit;
        hit.shape = HitRegion::Shape::Wedge;
        hit.center = {centre.x + sl.offset.x, centre.y + sl.offset.y};
        hit.radius = r;
        hit.inner = inner;
        hit.yScale = yScale;
        hit.a0 = sl.a0;
        hit.a1 = sl.a1;
        hit.kind = "slice";
        hit.label = sl.label;
        hit.value = fmt.format(sl.value);
        hit.pointIndex = static_cast<int>(sl.index);
        hit.toolText = sl.attrs->has("tooltext")
                           ? sl.attrs->text("tooltext")
                           : (sl.label.empty() ? hit.value : sl.label + ", " + hit.value);
        hit.link = sl.attrs->text("link");
        ctx.scene.hits.push_back(std::move(hit));
    }

    // Labels outside, one column on each side, pushed apart, joined by leader lines.
    std::vector<PieLabel> left, right;
    for (std::size_t k = 0; k < slices.size(); ++k) {
        const Slice& sl = slices[k];
        if (sl.text.empty()) continue;
        double mid = (sl.a0 + sl.a1) / 2;
        PieLabel l;
        l.slice = k;
        l.right = std::cos(mid) >= 0;
        l.y = centre.y + sl.offset.y + (r + 14) * yScale * std::sin(mid) +
              (threeD && std::sin(mid) > 0 ? rim : 0);
        l.h = lineH + 1;
        l.w = std::min(ctx.text.measure(sl.text, font).w, labelRoom);
        (l.right ? right : left).push_back(l);
    }
    double top = area.y, bottom = area.bottom();
    spread(left, top, bottom);
    spread(right, top, bottom);
    Stroke leader{rgb(0x888888), 0.8};
    for (const auto* side : {&left, &right}) {
        for (const PieLabel& l : *side) {
            const Slice& sl = slices[l.slice];
            double mid = (sl.a0 + sl.a1) / 2;
            Point o{centre.x + sl.offset.x, centre.y + sl.offset.y};
            Point edgePt{o.x + r * std::cos(mid), o.y + r * yScale * std::sin(mid) +
                                                      (threeD && std::sin(mid) > 0 ? rim : 0)};
            double tx = l.right ? centre.x + r + slicing + 16 : centre.x - r - slicing - 16;
            Point elbow{l.right ? tx - 6 : tx + 6, l.y};
            Path p;
            p.moveTo(edgePt.x, edgePt.y);
            p.lineTo(elbow.x, elbow.y);
            p.lineTo(l.right ? tx - 2 : tx + 2, l.y);
            ctx.scene.strokePath(std::move(p), leader);
            addText(ctx, {TextKind::PieLabel, 0, static_cast<int>(sl.index)}, sl.text, font, tx,
                    l.y, l.right ? HAlign::Left : HAlign::Right, VAlign::Middle, 0, labelRoom);
        }
    }
    ChartLayout& layout = ctx.scene.layout;
    layout.plot = Rect{centre.x - r, centre.y - r * yScale, 2 * r, 2 * r * yScale + rim};
    LayoutSeries drawnSeries;
    drawnSeries.name = s.name;
    drawnSeries.renderAs = doughnut ? "doughnut" : "pie";
    drawnSeries.points = s.points.size();
    drawnSeries.drawn = slices.size();
    layout.series.push_back(std::move(drawnSeries));
    if (slices.size() < s.points.size())
        layout.notes.push_back(std::to_string(s.points.size() - slices.size()) +
                               " slices not drawn: missing, zero or negative values");
    return true;
}

} // namespace plotara::player

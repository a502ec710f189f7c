// Columns and bars: one rectangle per value, side by side per category or stacked, with a 3D
// look that adds a shaded top and side face.
#include "player/cartesian/SeriesDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace plotara::player {

void markPoint(HitRegion& hit, const PlotSeries& s, std::size_t i) {
    hit.seriesIndex = s.index;
    hit.pointIndex = static_cast<int>(i);
    hit.lazyText = true;
    if (s.source && i < s.source->points.size()) {
        if (const std::string* link = s.source->points[i].attrs.find("link")) hit.link = *link;
    }
}

namespace {

const Attributes* pointAttrs(const PlotSeries& s, std::size_t i) {
    if (s.source && i < s.source->points.size()) return &s.source->points[i].attrs;
    return nullptr;
}

// The end face and the long face of a column or bar standing in front of the back wall, then
// its front. The end face is at the value end: the top of a column that rises from the zero
// line, the bottom of one that hangs below it; the right end of a bar that runs right, the left
// end of one that runs left from the zero line. The long face is the side of a column and the
// top of a bar.
void addPrism(ChartContext& ctx, const Rect& r, double d, Color c, bool border, Color edge,
              bool horizontal, bool negative) {
    double sideX = horizontal && negative ? r.x : r.right();
    double topY = !horizontal && negative ? r.bottom() : r.y;
    Path top;
    top.polygon({{r.x, topY}, {r.x + d, topY - d}, {r.right() + d, topY - d}, {r.right(), topY}});
    Path side;
    side.polygon(
        {{sideX, r.y}, {sideX + d, r.y - d}, {sideX + d, r.bottom() - d}, {sideX, r.bottom()}});
    Path front;
    front.rect(r);
    Stroke edgeStroke{edge, 0.5};
    auto face = [&](Path& p, Color fill) {
        if (border) {
            ctx.scene.fillStroke(std::move(p), fill, edgeStroke);
        } else {
            ctx.scene.fillPath(std::move(p), fill);
        }
    };
    // The end face of a bar running left lies under the top face's left end: it is drawn
    // after the top so that its corner shows there.
    if (horizontal && negative) {
        face(top, shade(c, 1.25));
        face(side, shade(c, 0.7));
    } else {
        face(side, shade(c, 0.7));
        face(top, shade(c, 1.25));
    }
    face(front, c);
}

// Offers a column's value label: centred inside a stacked segment, else beyond the column's
// end, or inside that end when there is no room beyond it. The longest columns keep their
// labels first when not every label fits.
void offerValue(ValueLabels& values, const PlotGeometry& g, const SeriesStyle& style,
                const PlotSeries& s, std::size_t i, const Rect& r, Color fill) {
    const Attributes* pa = pointAttrs(s, i);
    double v = s.values[i];
    if (!s.showValues || (pa && !pa->flag("showvalue", true))) return;
    const NumberFormat& fmt = s.secondary ? style.secondaryFormat : style.primaryFormat;
    std::string shown = pa && pa->has("displayvalue") ? pa->text("displayvalue") : fmt.format(v);
    TextTag tag{TextKind::ValueLabel, s.index, static_cast<int>(i)};
    double priority = std::fabs(v);
    bool neg = v < 0;
    double depth = style.threeD ? g.depth : 0;
    if (s.stack >= 0) {
        values.place(tag, shown, r.x + r.w / 2, r.y + r.h / 2, HAlign::Center, VAlign::Middle, 0,
                     &r, priority);
    } else if (g.horizontal) {
        values.placeAtEnd(tag, shown, neg ? r.x - 3 : r.right() + 3 + depth, r.y + r.h / 2,
                          neg ? HAlign::Right : HAlign::Left, VAlign::Middle, r, true, neg, fill,
                          priority);
    } else {
        values.placeAtEnd(tag, shown, r.x + r.w / 2, neg ? r.bottom() + 2 : r.y - 2 - depth,
                          HAlign::Center, neg ? VAlign::Top : VAlign::Bottom, r, false, neg, fill,
                          priority);
    }
}

// The box of a column that answers hits and keeps value labels off it: its 3D faces included.
Rect hitBoxOf(const ColumnBox& b, const PlotGeometry& g, const SeriesStyle& style) {
    const Rect& r = b.rect;
    if (!style.threeD) return r;
    return {r.x, r.y - g.depth, r.w + g.depth, r.h + g.depth};
}

// The edge of a column: its fill darkened, at the fill's opacity.
Color edgeOf(const ColumnLayout& l, const ColumnBox& b) {
    return shade(l.fillOf(b), 0.6);
}

// The position of each fill in the layout's table, so that a column names its fill in four
// bytes: most charts have a handful, a chart of per-point colours as many as its palette.
class FillTable {
public:
    explicit FillTable(std::vector<Color>& fills) : fills_(fills) {}
    std::uint32_t positionOf(Color c) {
        const auto [at, added] =
            positions_.try_emplace(c, static_cast<std::uint32_t>(fills_.size()));
        if (added) fills_.push_back(c);
        return at->second;
    }

private:
    struct Hash {
        std::size_t operator()(const Color& c) const {
            const std::hash<double> h;
            std::size_t v = h(c.r);
            for (double part : {c.g, c.b, c.a})
                v = v * 1000003u ^ h(part);
            return v;
        }
    };
    std::vector<Color>& fills_;
    std::unordered_map<Color, std::uint32_t, Hash> positions_;
};

// The most columns the layout can place, so that room for them is made once.
std::size_t columnCount(const PlotGeometry& g, const std::vector<PlotSeries>& series) {
    std::size_t n = 0;
    for (const PlotSeries& s : series) {
        if (s.kind != PlotKind::Column || g.first >= s.values.size()) continue;
        n += std::min(g.count, s.values.size() - g.first);
    }
    return n;
}

// Where each column slot begins, in slots, and (last) where the last ends: a slot is as wide as
// the widest series in it (a whole one but while a series enters or leaves).
std::vector<double> slotStarts(const std::vector<PlotSeries>& series, int slots) {
    std::vector<double> widths(static_cast<std::size_t>(slots), 0.0);
    for (const PlotSeries& s : series) {
        if (s.kind != PlotKind::Column || s.slot < 0 || s.slot >= slots) continue;
        double& w = widths[static_cast<std::size_t>(s.slot)];
        w = std::max(w, s.width);
    }
    std::vector<double> starts(1, 0.0);
    for (double w : widths)
        starts.push_back(starts.back() + w);
    if (!(starts.back() > 1e-9)) {
        for (std::size_t k = 0; k < starts.size(); ++k)
            starts[k] = static_cast<double>(k);
    }
    return starts;
}

// A column as a flat rectangle (kept compactly by the scene) or a prism, and its hit region.
void drawColumn(ChartContext& ctx, const PlotGeometry& g, const SeriesStyle& style,
                const ColumnLayout& l, const ColumnBox& b) {
    const Rect& r = b.rect;
    const Color fill = l.fillOf(b);
    if (style.threeD && g.depth > 0) {
        double d = std::min(g.depth, std::max(l.width * 0.6, 2.0));
        addPrism(ctx, r, d, fill, style.showPlotBorder, edgeOf(l, b), g.horizontal,
                 l.seriesOf(b).values[b.index] < 0);
    } else if (style.showPlotBorder && l.width > 3) {
        const Stroke border{edgeOf(l, b), 0.8};
        ctx.scene.addRect(r, fill, &border);
    } else {
        ctx.scene.addRect(r, fill);
    }
    HitRegion hit;
    hit.rect = hitBoxOf(b, g, style);
    hit.kind = g.horizontal ? HitKind::Bar : HitKind::Column;
    markPoint(hit, l.seriesOf(b), b.index);
    ctx.scene.hits.push_back(std::move(hit));
}

} // namespace

ColumnLayout layoutColumns(const ChartContext& ctx, const PlotGeometry& g,
                           const std::vector<PlotSeries>& series, const SeriesStyle& style) {
    ColumnLayout l;
    const double space = std::clamp(style.plotSpace, 0.1, 1.0);
    int slots = std::max(1, style.columnSlots);
    // Where each column slot begins within its group, in slots: a series entering or leaving
    // side by side takes part of one.
    const std::vector<double> starts = slotStarts(series, slots);
    l.width = g.slot() * space / starts.back();
    double gap = l.width > 6 ? std::min(2.0, l.width * 0.08) : 0;
    // Totals are kept per category only when some column series stacks.
    const bool stacks = std::any_of(series.begin(), series.end(), [](const PlotSeries& s) {
        return s.kind == PlotKind::Column && s.stack >= 0;
    });
    if (stacks) l.sums.resize(g.count * static_cast<std::size_t>(slots));
    l.boxes.reserve(columnCount(g, series));
    for (const PlotSeries& s : series)
        l.series.push_back(&s);
    FillTable fills(l.fills);
    for (std::size_t i = g.first; i < g.first + g.count; ++i) {
        for (std::size_t k = 0; k < series.size(); ++k) {
            const PlotSeries& s = series[k];
            if (s.kind != PlotKind::Column || i >= s.values.size()) continue;
            double v = s.values[i];
            if (isMissing(v)) continue;
            double base = i < s.base.size() ? s.base[i] : 0;
            const auto k0 = static_cast<std::size_t>(std::clamp(s.slot, 0, slots - 1));
            const double groupW = g.slotOf(i) * space, unit = groupW / starts.back();
            const double w = unit * (starts[k0 + 1] - starts[k0]);
            const double cut = std::min(gap, w / 2);
            const double c0 = g.categoryPos(i) - groupW / 2 + unit * starts[k0] + cut / 2;
            Rect r = g.span(c0, c0 + w - cut, base, base + v, s.secondary);
            if (s.stack >= 0) {
                l.anyStack = true;
                StackSum& sum = l.sums[(i - g.first) * static_cast<std::size_t>(slots) +
                                       static_cast<std::size_t>(s.slot % slots)];
                sum.total += v;
                sum.any = true;
                if (base + v > sum.topValue) {
                    sum.topValue = base + v;
                    sum.top = r;
                }
            }
            const Attributes* pa = pointAttrs(s, i);
            Color color = s.perPointColors ? ctx.style.seriesColor(i) : s.color;
            double alpha = s.alpha;
            if (pa) {
                color = parseColor(pa->text("color"), color);
                alpha = pa->number("alpha", alpha);
            }
            color = withAlpha(color, alpha);
            l.boxes.push_back({r, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(k),
                               fills.positionOf(color)});
        }
    }
    return l;
}

void addColumnObstacles(ValueLabels& values, const PlotGeometry& g, const SeriesStyle& style,
                        const ColumnLayout& l) {
    values.reserveObstacles(l.boxes.size());
    for (const ColumnBox& b : l.boxes) {
        values.obstacle(hitBoxOf(b, g, style),
                        {TextKind::ValueLabel, l.seriesOf(b).index, static_cast<int>(b.index)});
    }
}

void offerColumnValues(ValueLabels& values, const PlotGeometry& g, const SeriesStyle& style,
                       const ColumnLayout& l) {
    for (const ColumnBox& b : l.boxes)
        offerValue(values, g, style, l.seriesOf(b), b.index, b.rect, l.fillOf(b));
    if (!style.showSum || !l.anyStack) return;
    // The total of every stack, just beyond its highest column; totals come before segments.
    constexpr double totalPriority = std::numeric_limits<double>::max();
    const std::size_t slots =
        std::max<std::size_t>(1, l.sums.size() / std::max<std::size_t>(1, g.count));
    for (std::size_t k = 0; k < l.sums.size(); ++k) {
        const StackSum& sum = l.sums[k];
        // A total shows once its stack has arrived.
        if (!sum.any || !values.arrived(g.first + k / slots)) continue;
        const Rect& r = sum.top;
        std::string text = style.primaryFormat.format(sum.total);
        if (g.horizontal) {
            values.place({TextKind::ValueLabel}, text, r.right() + 4 + g.depth, r.y + r.h / 2,
                         HAlign::Left, VAlign::Middle, 0, nullptr, totalPriority);
        } else {
            values.place({TextKind::ValueLabel}, text, r.x + r.w / 2, r.y - 3 - g.depth,
                         HAlign::Center, VAlign::Bottom, 0, nullptr, totalPriority);
        }
    }
}

void drawColumns(ChartContext& ctx, const PlotGeometry& g, const SeriesStyle& style,
                 const ColumnLayout& l) {
    if (!(style.threeD && g.depth > 0))
        ctx.scene.rects.reserve(ctx.scene.rects.size() + l.boxes.size());
    for (const ColumnBox& b : l.boxes) {
        ctx.scene.markSeries(l.seriesOf(b).index);
        drawColumn(ctx, g, style, l, b);
    }
    ctx.scene.markSeries(-1);
}

} // namespace plotara::player

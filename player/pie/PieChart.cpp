// Pie and doughnut charts: slices clockwise from the top, optionally pulled out, flat or with a
// 3D look (a tilted disc with a visible rim), labels outside with leader lines.
#include "player/pie/PieChart.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

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
    // Where the value (or percentage) starts in text: npos when text shows none, 0 when it is
    // the value alone, > 0 after "name, ". The value is never shortened.
    std::size_t valueAt = std::string::npos;
    const Attributes* attrs;
    std::size_t merged = 0; // the "Other" slice: how many slivers it stands for
};

// Slices whose arc would be under a pixel cannot be seen one by one: they are drawn as one
// "Other" slice at the end, of their total size.
struct Slivers {
    double below = 0; // values under this are slivers
    std::size_t count = 0;
    double value = 0;
};

struct PieLabel {
    std::size_t slice;
    double y; // centre of the text
    double h, w;
    bool right;
    bool shortened = false; // wider than its column: drawn with an ellipsis
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

// Where the pie lands: its centre, radii and 3D look, and the label column's room.
struct PieLayout {
    bool threeD = false, doughnut = false;
    Rect area;
    Point centre;
    double r = 10, inner = 0, rim = 0, yScale = 1, slicing = 0;
    Font font;
    double lineH = 0, labelRoom = 0;
    // How far the label columns may reach: into the chart's margins, but not past the
    // picture's edges nor into a legend at the right.
    double labelsLeft = 0, labelsRight = 0;
};

// The text a slice's label shows: its name, its value or percentage, or both.
// The text a slice's label shows; valueAt is set to where its value starts in it (npos when it
// shows no value).
std::string sliceText(const Attributes& c, const NumberFormat& fmt, const std::string& label,
                      double value, double total, const Attributes* attrs, std::size_t& valueAt) {
    bool showNames = c.flag("shownames", c.flag("showlabels", true));
    bool showValues = c.flag("showvalues", true);
    bool showPercent = c.flag("showpercentvalues", false);
    std::string shown =
        showPercent
            ? fmt.percent(fmt.decimals < 0 ? 1 : fmt.decimals, false).format(100 * value / total)
            : fmt.format(value);
    if (attrs != nullptr && attrs->has("displayvalue")) shown = attrs->text("displayvalue");
    valueAt = std::string::npos;
    if (showNames && !label.empty() && showValues && !shown.empty()) {
        valueAt = label.size() + 2;
        return label + ", " + shown;
    }
    if (showNames) return label;
    if (showValues) {
        valueAt = 0;
        return shown;
    }
    return {};
}

// The attributes of the "Other" slice: none.
const Attributes& noAttributes() {
    static const Attributes none;
    return none;
}

// The slices clockwise from startingAngle (positive values only), with colours and the text
// their label shows; slivers are summed into one "Other" slice at the end. A slice keeps the
// colour it has when every slice is drawn.
std::vector<Slice> buildSlices(const ChartContext& ctx, const Series& s, double total,
                               Slivers& slivers) {
    const ChartModel& m = ctx.model;
    const Attributes& c = m.chart;
    NumberFormat fmt = numberFormatOf(c);
    std::vector<Slice> slices;
    double angle = c.number("startingangle", -90) * pi / 180;
    std::size_t colorIndex = 0;
    for (std::size_t i = 0; i < s.points.size(); ++i) {
        const DataPoint& p = s.points[i];
        if (isMissing(p.value) || p.value <= 0) continue;
        ++colorIndex;
        if (p.value < slivers.below) {
            ++slivers.count;
            slivers.value += p.value;
            continue;
        }
        double sweep = 2 * pi * p.value / total;
        Slice sl;
        sl.index = i;
        sl.value = p.value;
        sl.a0 = angle;
        sl.a1 = angle + sweep;
        angle += sweep;
        sl.color =
            withAlpha(parseColor(p.attrs.text("color"), ctx.style.seriesColor(colorIndex - 1)),
                      p.attrs.number("alpha", 100));
        sl.label = i < m.categories.size() ? m.categories[i].label : std::string();
        sl.text = sliceText(c, fmt, sl.label, p.value, total, &p.attrs, sl.valueAt);
        sl.attrs = &p.attrs;
        slices.push_back(std::move(sl));
    }
    if (slivers.count == 0) return slices;
    Slice other;
    other.index = s.points.size();
    other.value = slivers.value;
    other.a0 = angle;
    other.a1 = angle + 2 * pi * slivers.value / total;
    other.color = rgb(0xA6A6A6);
    other.label = "Other";
    other.text = sliceText(c, fmt, other.label, slivers.value, total, nullptr, other.valueAt);
    other.attrs = &noAttributes();
    other.merged = slivers.count;
    slices.push_back(std::move(other));
    return slices;
}

// The value under which a slice's arc is shorter than a pixel, from the largest radius the pie
// can have in the area (no room for labels): slices are merged only where none could show.
double sliverValue(const Attributes& c, const Rect& area, bool threeD, double total) {
    double yScale = threeD || c.flag("is3d", false) ? 0.6 : 1.0;
    double r = std::max(std::min((area.w - 50) / 2, (area.h - 30) / (2 * yScale)), 10.0);
    if (auto asked = c.optionalNumber("pieradius")) r = std::clamp(*asked, 5.0, r * 1.5);
    return total / (2 * pi * r);
}

// The largest radius the width allows: a label column as wide as the label room on each side,
// beyond the disc, the slicing distance and the leader's 16 pixels (labelColumns), inside the
// columns' limits. A flat and a tilted disc alike leave their labels whole this way; the disc
// gives way down to half its size, and beyond that the labels are shortened instead.
double widthRadius(const Attributes& c, const PieLayout& l) {
    const double side = std::min(l.centre.x - l.labelsLeft, l.labelsRight - l.centre.x);
    const double room = side - 16 - l.labelRoom - 1;
    const double r = (l.area.w - 2 * l.labelRoom - 50) / 2;
    const auto slicing = c.optionalNumber("slicingdistance");
    // Without slicingDistance the slicing distance is a tenth of the radius.
    const double labelled = slicing ? room - *slicing : room / 1.1;
    return std::min(r, std::max(labelled, r / 2));
}

// The legend (laid out by the shared frame) in the area below the titles, then the radius that
// leaves room for a label column on each side, and the pulled-out slices' offsets.
PieLayout placePie(ChartContext& ctx, std::vector<Slice>& slices, const ChartMovie& movie,
                   Rect area, LegendLayout& legend) {
    const Attributes& c = ctx.model.chart;
    PieLayout l;
    l.threeD = movie.threeD || c.flag("is3d", false);
    l.doughnut = movie.family == Family::Doughnut;
    l.area = area;
    if (c.flag("showlegend", false)) {
        std::vector<LegendItem> items;
        for (const Slice& sl : slices)
            items.push_back({sl.label, sl.color, false});
        legend = layoutLegend(ctx, items, l.area);
        l.area = legend.rest;
    }
    const bool legendRight = l.area.right() < area.right() - 0.5;
    l.labelsLeft = 2;
    l.labelsRight = legendRight ? l.area.right() : ctx.width - 2;
    area = l.area;
    l.font = ctx.style.font(TextRole::DataLabels);
    l.lineH = ctx.text.measure("Ag", l.font).h;
    double widest = 0;
    for (const Slice& sl : slices)
        widest = std::max(widest, ctx.text.measure(sl.text, l.font).w);
    l.labelRoom = std::min(widest, area.w * 0.28);
    l.yScale = l.threeD ? 0.6 : 1.0;
    l.centre.x = area.x + area.w / 2;
    double r = std::min(widthRadius(c, l), (area.h - 30) / (2 * l.yScale));
    if (l.threeD) {
        l.rim = std::clamp(r * 0.15, 4.0, 24.0);
        r = std::min(r, (area.h - 30 - l.rim) / (2 * l.yScale));
    }
    r = std::max(r, 10.0);
    if (auto asked = c.optionalNumber("pieradius")) r = std::clamp(*asked, 5.0, r * 1.5);
    l.r = r;
    l.inner = l.doughnut ? r * std::clamp(c.number("doughnutradius", r * 0.5) / r, 0.1, 0.9) : 0;
    l.centre.y = area.y + area.h / 2 - l.rim / 2;
    l.slicing = c.number("slicingdistance", r * 0.1);
    for (Slice& sl : slices) {
        if (sl.attrs->flag("issliced", false)) {
            double mid = (sl.a0 + sl.a1) / 2;
            sl.offset = {l.slicing * std::cos(mid), l.slicing * std::sin(mid) * l.yScale};
        }
    }
    return l;
}

// The top face of a slice (the whole disc for a lone slice of a pie).
Path wedgePath(const PieLayout& l, const Slice& sl, bool lone) {
    Path p;
    Point o{l.centre.x + sl.offset.x, l.centre.y + sl.offset.y};
    double ry = l.yScale;
    if (lone && l.inner <= 0) {
        p.arc(o.x, o.y, l.r, l.r * ry, 0, 2 * pi);
        p.close();
        return p;
    }
    p.moveTo(o.x + l.inner * std::cos(sl.a0), o.y + l.inner * ry * std::sin(sl.a0));
    p.arc(o.x, o.y, l.r, l.r * ry, sl.a0, sl.a1);
    if (l.inner > 0) p.arcNegative(o.x, o.y, l.inner, l.inner * ry, sl.a1, sl.a0);
    p.close();
    return p;
}

// The side band between angles lo and hi at radius rad, from the top face down by the rim.
Path bandPath(const PieLayout& l, const Slice& sl, double rad, double lo, double hi) {
    Point o{l.centre.x + sl.offset.x, l.centre.y + sl.offset.y};
    double ry = l.yScale;
    Path band;
    band.moveTo(o.x + rad * std::cos(lo), o.y + rad * ry * std::sin(lo));
    band.arc(o.x, o.y, rad, rad * ry, lo, hi);
    band.lineTo(o.x + rad * std::cos(hi), o.y + l.rim + rad * ry * std::sin(hi));
    band.arcNegative(o.x, o.y + l.rim, rad, rad * ry, hi, lo);
    band.close();
    return band;
}

// The 3D sides: the rim facing the viewer (angles 0 to pi) and, through a doughnut's hole, the
// far half of its inner wall (pi to 2 pi); the top faces drawn after cover the rest.
void drawPieSides(ChartContext& ctx, const PieLayout& l, const std::vector<Slice>& slices) {
    for (const Slice& sl : slices) {
        for (int k = -1; k <= 1; ++k) {
            double lo = std::max(sl.a0, k * 2 * pi), hi = std::min(sl.a1, k * 2 * pi + pi);
            if (hi > lo) ctx.scene.fillPath(bandPath(l, sl, l.r, lo, hi), shade(sl.color, 0.72));
        }
    }
    if (l.inner <= 0) return;
    for (const Slice& sl : slices) {
        for (int k = -1; k <= 1; ++k) {
            double lo = std::max(sl.a0, k * 2 * pi + pi);
            double hi = std::min(sl.a1, k * 2 * pi + 2 * pi);
            if (hi > lo)
                ctx.scene.fillPath(bandPath(l, sl, l.inner, lo, hi), shade(sl.color, 0.55));
        }
    }
}

// The top faces and their hit regions.
void drawPieFaces(ChartContext& ctx, const PieLayout& l, const std::vector<Slice>& slices) {
    const Attributes& c = ctx.model.chart;
    NumberFormat fmt = numberFormatOf(c);
    bool border = c.flag("showplotborder", true);
    Stroke edge{withAlpha(rgb(0xFFFFFF), 80), 1};
    for (const Slice& sl : slices) {
        // A lone slice is the whole disc, unless a frame is still sweeping it.
        const bool lone = slices.size() == 1 && sl.a1 - sl.a0 >= 2 * pi;
        if (border) {
            ctx.scene.fillStroke(wedgePath(l, sl, lone), sl.color, edge);
        } else {
            ctx.scene.fillPath(wedgePath(l, sl, lone), sl.color);
        }
        HitRegion hit;
        hit.shape = HitRegion::Shape::Wedge;
        hit.center = {l.centre.x + sl.offset.x, l.centre.y + sl.offset.y};
        hit.radius = l.r;
        hit.inner = l.inner;
        hit.yScale = l.yScale;
        hit.a0 = sl.a0;
        hit.a1 = sl.a1;
        hit.kind = HitKind::Slice;
        hit.label = sl.label;
        hit.value = fmt.format(sl.value);
        hit.pointIndex = sl.merged > 0 ? -1 : static_cast<int>(sl.index);
        hit.toolText = sl.attrs->has("tooltext")
                           ? sl.attrs->text("tooltext")
                           : (sl.label.empty() ? hit.value : sl.label + ", " + hit.value);
        if (sl.merged > 0)
            hit.toolText += " (" + std::to_string(sl.merged) + " slices too thin to draw)";
        hit.link = sl.attrs->text("link");
        ctx.scene.hits.push_back(std::move(hit));
    }
}

// Keeps the labels of one side that fit in a column of the given height, those of the largest
// slices first; returns how many were left out.
std::size_t keepLargest(std::vector<PieLabel>& labels, const std::vector<Slice>& slices,
                        double height) {
    if (labels.empty()) return 0;
    auto room = static_cast<std::size_t>(std::max(height, 0.0) / (labels.front().h + 1));
    if (labels.size() <= room) return 0;
    std::stable_sort(labels.begin(), labels.end(), [&](const PieLabel& a, const PieLabel& b) {
        return slices[a.slice].value > slices[b.slice].value;
    });
    std::size_t dropped = labels.size() - room;
    labels.resize(room);
    return dropped;
}

// A slice's label where the layout put it, and the leader line from the slice's edge to it.
struct PlacedPieLabel {
    Path leader;
    TextItem text;
    TextItem value; // the value of a shortened "name, value" label, kept whole after the name
};

// Where the two label columns start (the texts run away from the pie from there) and how wide
// each may be: no wider than the label room, and never past the limits of the labels, which a
// large radius or slicing distance would otherwise push them over.
struct LabelColumns {
    double leftX = 0, rightX = 0, leftRoom = 0, rightRoom = 0;
};

LabelColumns labelColumns(const PieLayout& l) {
    LabelColumns c;
    c.leftX = l.centre.x - l.r - l.slicing - 16;
    c.rightX = l.centre.x + l.r + l.slicing + 16;
    c.leftRoom = std::min(l.labelRoom, c.leftX - l.labelsLeft);
    c.rightRoom = std::min(l.labelRoom, l.labelsRight - c.rightX);
    return c;
}

// A label's text in its column from x, running away from the pie. A shortened "name, value"
// label keeps its value whole and shortens the name before it, as long as a few characters of
// the name still fit, else shows the value alone; only a name alone is shortened as a whole.
void placeLabelText(ChartContext& ctx, PlacedPieLabel& label, const Slice& sl, const Font& font,
                    double x, const PieLabel& pl, double room) {
    const TextTag tag{TextKind::PieLabel, 0, static_cast<int>(sl.index)};
    const HAlign align = pl.right ? HAlign::Left : HAlign::Right;
    if (pl.shortened && sl.valueAt > 0 && sl.valueAt != std::string::npos) {
        const std::string name = sl.text.substr(0, sl.valueAt - 1); // "name," keeps its comma
        const std::string value = sl.text.substr(sl.valueAt);
        const double space = ctx.text.measure("n n", font).w - ctx.text.measure("nn", font).w;
        const double valueW = ctx.text.measure(value, font).w + space;
        const double nameRoom = room - valueW;
        if (nameRoom >= ctx.text.measure("Wxyz\u2026", font).w) {
            const double nameW = ctx.text.measure(name, font, nameRoom).w;
            const double nameX = pl.right ? x : x - valueW;
            const double valueX = pl.right ? x + nameW + space : x;
            label.text =
                placeText(ctx, tag, name, font, nameX, pl.y, align, VAlign::Middle, 0, nameRoom);
            label.value = placeText(ctx, tag, value, font, valueX, pl.y, align, VAlign::Middle, 0);
        } else { // no room for the name: the value alone, whole
            label.text = placeText(ctx, tag, value, font, x, pl.y, align, VAlign::Middle, 0);
        }
        return;
    }
    label.text = placeText(ctx, tag, sl.text, font, x, pl.y, align, VAlign::Middle, 0, room);
}

// Labels outside, one column on each side, pushed apart; each gets its leader line and its box.
// A side with more labels than its column holds shows those of the largest slices; a label too
// wide for its column is shortened with an ellipsis, and one whose column is narrower than a
// line is high is left out. The layout notes both.
std::vector<PlacedPieLabel> layoutPieLabels(ChartContext& ctx, const PieLayout& l,
                                            const std::vector<Slice>& slices) {
    const LabelColumns columns = labelColumns(l);
    std::vector<PieLabel> left, right;
    std::size_t dropped = 0, shortened = 0;
    for (std::size_t k = 0; k < slices.size(); ++k) {
        const Slice& sl = slices[k];
        if (sl.text.empty()) continue;
        double mid = (sl.a0 + sl.a1) / 2;
        PieLabel label;
        label.slice = k;
        label.right = std::cos(mid) >= 0;
        const double room = label.right ? columns.rightRoom : columns.leftRoom;
        if (room < l.lineH) {
            ++dropped;
            continue;
        }
        label.y = l.centre.y + sl.offset.y + (l.r + 14) * l.yScale * std::sin(mid) +
                  (l.threeD && std::sin(mid) > 0 ? l.rim : 0);
        label.h = l.lineH + 1;
        const double width = ctx.text.measure(sl.text, l.font).w;
        // A value is shown whole or not at all.
        if (sl.valueAt != std::string::npos &&
            ctx.text.measure(std::string_view(sl.text).substr(sl.valueAt), l.font).w > room) {
            ++dropped;
            continue;
        }
        label.w = std::min(width, room);
        label.shortened = width > room;
        (label.right ? right : left).push_back(label);
    }
    dropped += keepLargest(left, slices, l.area.h) + keepLargest(right, slices, l.area.h);
    if (dropped > 0)
        ctx.scene.layout.notes.push_back(std::to_string(dropped) +
                                         " slice labels not shown: no room beside the pie");
    for (const auto* side : {&left, &right}) {
        for (const PieLabel& pl : *side)
            shortened += pl.shortened;
    }
    if (shortened > 0)
        ctx.scene.layout.notes.push_back(std::to_string(shortened) +
                                         " slice labels shortened to fit beside the pie");
    spread(left, l.area.y, l.area.bottom());
    spread(right, l.area.y, l.area.bottom());
    std::vector<PlacedPieLabel> placed;
    for (const auto* side : {&left, &right}) {
        for (const PieLabel& pl : *side) {
            const Slice& sl = slices[pl.slice];
            double mid = (sl.a0 + sl.a1) / 2;
            Point o{l.centre.x + sl.offset.x, l.centre.y + sl.offset.y};
            Point edgePt{o.x + l.r * std::cos(mid),
                         o.y + l.r * l.yScale * std::sin(mid) +
                             (l.threeD && std::sin(mid) > 0 ? l.rim : 0)};
            const double tx = pl.right ? columns.rightX : columns.leftX;
            Point elbow{pl.right ? tx - 6 : tx + 6, pl.y};
            PlacedPieLabel label;
            label.leader.moveTo(edgePt.x, edgePt.y);
            label.leader.lineTo(elbow.x, elbow.y);
            label.leader.lineTo(pl.right ? tx - 2 : tx + 2, pl.y);
            placeLabelText(ctx, label, sl, l.font, tx, pl,
                           pl.right ? columns.rightRoom : columns.leftRoom);
            placed.push_back(std::move(label));
        }
    }
    return placed;
}

void drawPieLabels(ChartContext& ctx, std::vector<PlacedPieLabel>& labels) {
    Stroke leader{rgb(0x888888), 0.8};
    for (PlacedPieLabel& label : labels) {
        ctx.scene.strokePath(std::move(label.leader), leader);
        if (!label.text.text.empty()) ctx.scene.add(std::move(label.text));
        if (!label.value.text.empty()) ctx.scene.add(std::move(label.value));
    }
}

// The plot (the disc with its rim), the series' counts and notes on the slices not drawn on
// their own.
void recordPie(ChartContext& ctx, const Series& s, const PieLayout& l, std::size_t slices,
               const Slivers& slivers, double total) {
    ChartLayout& layout = ctx.scene.layout;
    layout.plot =
        Rect{l.centre.x - l.r, l.centre.y - l.r * l.yScale, 2 * l.r, 2 * l.r * l.yScale + l.rim};
    LayoutSeries drawn;
    drawn.name = s.name;
    drawn.renderAs = l.doughnut ? "doughnut" : "pie";
    drawn.points = s.points.size();
    drawn.drawn = slices - (slivers.count > 0 ? 1 : 0);
    std::size_t notPositive = s.points.size() - drawn.drawn - slivers.count;
    layout.series.push_back(std::move(drawn));
    if (slivers.count > 0)
        layout.notes.push_back(std::to_string(slivers.count) +
                               " slices under a pixel wide drawn as one \"Other\" slice of " +
                               numberFormatOf(ctx.model.chart).format(slivers.value) + " (" +
                               NumberFormat().format(100 * slivers.value / total, 1) +
                               "% of the total)");
    if (notPositive > 0)
        layout.notes.push_back(std::to_string(notPositive) +
                               " slices not drawn: missing, zero or negative values");
}

// On a transition, the slices of the pie before that this one lacks (matched by label, by
// position where a slice has none), put where they stood among the others: they shrink out.
// They are no point of this pie (pointIndex -1) and carry no label.
void addLeavingSlices(const MotionStart& start, std::vector<Slice>& slices) {
    std::size_t at = 0;
    for (const MotionStart::SliceBefore& before : start.slices()) {
        auto kept = std::find_if(slices.begin(), slices.end(), [&](const Slice& sl) {
            return sl.merged == 0 &&
                   (before.label.empty() ? sl.index == before.index : sl.label == before.label);
        });
        if (kept != slices.end()) {
            at = std::max(at, static_cast<std::size_t>(kept - slices.begin()) + 1);
            continue;
        }
        Slice leaving{};
        leaving.index = before.label.empty() ? before.index : static_cast<std::size_t>(-1);
        leaving.value = 0; // where it goes
        leaving.color = before.color;
        leaving.label = before.label;
        leaving.attrs = &noAttributes();
        slices.insert(slices.begin() + static_cast<long>(at++), std::move(leaving));
    }
}

// Every slice's share of the disc at eased share f of a transition: on its way from its share
// of the pie before (0 for a slice that is new) to its share of this one (0 for a slice leaving).
std::vector<double> movedShares(const MotionStart& start, const Series& s,
                                const std::vector<Slice>& slices, double f) {
    double before = 0, now = 0;
    for (const MotionStart::SliceBefore& sl : start.slices())
        before += sl.value;
    for (const Slice& sl : slices)
        now += sl.value;
    std::vector<double> shares;
    shares.reserve(slices.size());
    for (const Slice& sl : slices) {
        double old = 0;
        start.find(s.name, sl.label, sl.index, old);
        const double from = before > 0 ? old / before : 0, to = now > 0 ? sl.value / now : 0;
        shares.push_back(from + (to - from) * f);
    }
    return shares;
}

// A frame on the way to this pie, its labels laid out as in the still picture: on a draw-in the
// pie sweeps round from its starting angle and a slice's label shows once the sweep has passed
// the slice; on a transition every slice's value moves from its value in the chart before (the
// slices fill the disc in proportion; those the pie before had and this one lacks shrink out)
// and the labels show at the end.
void moveSlices(const ChartContext& ctx, const Series& s, std::vector<Slice>& slices,
                std::vector<PlacedPieLabel>& labels) {
    const Motion& motion = *ctx.motion;
    const double start = slices.front().a0, whole = slices.back().a1 - start;
    if (motion.transition()) {
        addLeavingSlices(*motion.start(), slices);
        const std::vector<double> moved = movedShares(*motion.start(), s, slices, motion.share());
        const double sum = std::accumulate(moved.begin(), moved.end(), 0.0);
        double from = start;
        for (std::size_t k = 0; k < slices.size(); ++k) {
            slices[k].a0 = from;
            from += sum > 0 ? whole * moved[k] / sum : 0;
            slices[k].a1 = from;
        }
        labels.clear();
        return;
    }
    const double front = whole * motion.share(); // how far the sweep has come
    std::vector<double> ends;                    // where each slice ends in the still pie
    for (Slice& sl : slices) {
        ends.push_back(sl.a1 - start);
        sl.a0 = start + (sl.a0 - start) * motion.share();
        sl.a1 = start + ends.back() * motion.share();
    }
    std::erase_if(labels, [&](const PlacedPieLabel& label) {
        for (std::size_t k = 0; k < slices.size(); ++k) {
            if (static_cast<int>(slices[k].index) == label.text.tag.index) return ends[k] > front;
        }
        return true;
    });
}

} // namespace

bool renderPie(ChartContext& ctx, const ChartMovie& movie) {
    const ChartModel& m = ctx.model;
    if (m.datasets.empty()) return false;
    const Series& s = m.datasets.front();
    double total = 0;
    for (const DataPoint& p : s.points) {
        if (!isMissing(p.value) && p.value > 0) total += p.value;
    }
    if (!(total > 0) || !std::isfinite(total)) return false;
    TitleLayout titles = layoutTitles(ctx, marginArea(ctx));
    Slivers slivers;
    slivers.below = sliverValue(m.chart, titles.rest, movie.threeD, total);
    std::vector<Slice> slices = buildSlices(ctx, s, total, slivers);
    LegendLayout legend;
    PieLayout l = placePie(ctx, slices, movie, titles.rest, legend);
    std::vector<PlacedPieLabel> labels = layoutPieLabels(ctx, l, slices);
    if (ctx.motion) moveSlices(ctx, s, slices, labels);
    listTexts(ctx.scene.layout, titles.texts);
    listTexts(ctx.scene.layout, legend.texts());
    for (const PlacedPieLabel& label : labels)
        listTexts(ctx.scene.layout, {label.text, label.value});
    if (ctx.drawing) {
        drawTexts(ctx.scene, titles.texts);
        drawLegend(ctx, legend);
        // One group on a web page, which its draw-in sweeps round; pictures do not change.
        ctx.scene.markSeries(0);
        if (l.threeD) drawPieSides(ctx, l, slices);
        drawPieFaces(ctx, l, slices);
        ctx.scene.markSeries(-1);
        drawPieLabels(ctx, labels);
    }
    recordPie(ctx, s, l, slices.size(), slivers, total);
    return true;
}

} // namespace plotara::player

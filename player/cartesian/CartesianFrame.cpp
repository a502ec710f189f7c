#include "player/cartesian/CartesianFrame.h"

#include "player/util/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace plotara::player {

namespace {
bool onSecondary(const Attributes& a) {
    return equalsNoCase(trimSpace(a.text("parentyaxis")), "s");
}

Stroke lineStroke(const Attributes& a, Color fallback, double width) {
    Stroke s;
    s.color = withAlpha(parseColor(a.text("color"), fallback), a.number("alpha", 100));
    s.width = std::clamp(a.number("thickness", width), 0.5, 20.0);
    if (a.flag("dashed", false) || a.flag("isdashed", false)) {
        s.dash = std::clamp(a.number("dashlen", 5), 1.0, 100.0);
        s.gap = std::clamp(a.number("dashgap", 4), 1.0, 100.0);
    }
    return s;
}
} // namespace

CartesianFrame::CartesianFrame(ChartContext& ctx, PlotGeometry& g,
                               const std::vector<PlotSeries>& series, const SeriesStyle& style)
    : ctx_(ctx), g_(g), series_(series), style_(style) {
    const ChartModel& m = ctx_.model;
    std::size_t n = 0;
    for (const PlotSeries& s : series_)
        n = std::max(n, s.values.size());
    n = std::max(n, m.categories.size());
    labels_.resize(n);
    // Labels the chart hides stay empty: no room is made for them and none is drawn.
    if (!categoryLabelsShown(m.chart)) return;
    for (std::size_t i = 0; i < m.categories.size(); ++i) {
        const Category& c = m.categories[i];
        if (c.attrs.flag("showlabel", c.attrs.flag("showname", true))) labels_[i] = c.label;
    }
}

std::string CartesianFrame::tickText(double v, bool secondary) const {
    const NumberFormat& f = secondary ? style_.secondaryFormat : style_.primaryFormat;
    const auto& axis = secondary ? g_.secondary : g_.primary;
    if (std::fabs(v) < 1e-12 * std::max(1.0, std::fabs(g_.primary.max))) v = 0;
    // Ticks of a logarithmic axis are powers: each gets the digits its own size needs.
    if (axis.log) {
        int d = v < 1 ? decimalsForStep(v) : 0;
        if (f.decimals >= 0) d = std::max(d, f.decimals);
        return f.format(v, std::min(d, 10));
    }
    return f.formatTick(v, axis.step);
}

void CartesianFrame::layout(Rect area, bool scrollBar) {
    const Attributes& c = ctx_.model.chart;
    Font tickFont = ctx_.style.font(TextRole::YAxisValues);
    Font nameFont = ctx_.style.font(TextRole::YAxisName);
    Font labelFont = ctx_.style.font(TextRole::DataLabels);
    double tickH = ctx_.text.measure("Ag", tickFont).h;
    bool showTicks = c.flag("showyaxisvalues", c.flag("showlimits", true));
    auto widestTick = [&](const AxisScale& a, bool secondary) {
        double w = 0;
        if (!showTicks) return w;
        for (int i = 0; i <= a.divisions; ++i)
            w = std::max(w, ctx_.text.measure(tickText(a.tick(i), secondary), tickFont).w);
        return std::min(w, area.w * 0.3);
    };
    std::string pName = c.text("pyaxisname", c.text("yaxisname"));
    std::string sName = c.text("syaxisname");
    std::string xName = c.text("xaxisname");
    const bool named = !pName.empty() || !sName.empty() || !xName.empty(); // else no bold face
    const double nameH = named ? ctx_.text.measure("Ag", nameFont).h : 0;
    area_ = area;
    double left = area.x, right = area.right(), top = area.y + topRoom, bottom = area.bottom();
    if (scrollBar) {
        scrollBar_ = {area.x, bottom - scrollBarHeight, area.w, scrollBarHeight};
        bottom -= scrollBarRoom;
    }
    if (!g_.horizontal) {
        if (!pName.empty()) left += nameH + textGap;
        valueLabelExtent_ = widestTick(g_.primary, false);
        left += valueLabelExtent_ + textGap;
        if (g_.hasSecondary) {
            if (!sName.empty()) right -= nameH + textGap;
            secondaryExtent_ = widestTick(g_.secondary, true);
            right -= secondaryExtent_ + textGap;
        } else {
            right -= textGap;
        }
        // Labels of trend lines on the right get their own column beyond the tick labels.
        rightTrendRoom_ = rightTrendRoom(area);
        if (rightTrendRoom_ > 0) right -= rightTrendRoom_ + (secondaryExtent_ > 0 ? 10 : 4);
        if (!xName.empty()) bottom -= nameH + textGap;
        double slot = std::max(right - left, 10.0) / static_cast<double>(g_.count);
        std::vector<std::string_view> visible(
            labels_.begin() + static_cast<long>(g_.first),
            labels_.begin() + static_cast<long>(std::min(labels_.size(), g_.first + g_.count)));
        plan_ = planColumnLabels(ctx_.text, visible, labelFont, slot, c, area.h * 0.3);
        labelGap_ = std::max(4.0, tickH / 2 + 2);
        bottom -= plan_.extent + labelGap_ - 4;
    } else {
        if (!xName.empty()) left += nameH + textGap;
        double slotGuess = std::max(bottom - top, 10.0) / static_cast<double>(g_.count);
        plan_ = planBarLabels(ctx_.text, labels_, labelFont, slotGuess, area.w * 0.3);
        left += plan_.extent;
        // The last tick label is centred on the plot's right edge: half of it must fit.
        right -= std::max(8.0, widestTick(g_.primary, false) / 2 + 2);
        if (showTicks) bottom -= tickH + textGap;
        if (!pName.empty()) bottom -= nameH + textGap;
        if (g_.hasSecondary) top += tickH + textGap;
    }
    g_.plot = {left, top, std::max(right - left, 10.0), std::max(bottom - top, 10.0)};
    if (style_.threeD) {
        g_.depth = std::clamp(std::min(g_.plot.w, g_.plot.h) * 0.04, 4.0, 12.0);
        g_.plot.y += g_.depth;
        g_.plot.h = std::max(g_.plot.h - g_.depth, 10.0);
        g_.plot.w = std::max(g_.plot.w - g_.depth, 10.0);
    }
    if (g_.horizontal) {
        // The rows are known only now (ticks, names and the 3D depth took their share): thin
        // the row names further if they came closer than a line.
        double slot = g_.plot.h / static_cast<double>(g_.count);
        CategoryLabelPlan rows = planBarLabels(
            ctx_.text, labels_, ctx_.style.font(TextRole::DataLabels), slot, area.w * 0.3);
        plan_.step = std::max(plan_.step, rows.step);
    }
    if (ctx_.motion) {
        moving_[0] = ctx_.motion->easeAxis("y", g_.primary);
        moving_[1] = ctx_.motion->easeAxis("y2", g_.secondary);
    }
    shown_ = shownLabels();
    layoutAxisTexts();
    layoutTrendLabels();
}

void CartesianFrame::drawBack() {
    const PaletteTheme& t = ctx_.style.theme();
    const Attributes& c = ctx_.model.chart;
    Rect p = g_.plot;
    double d = g_.depth;
    Color canvas = withAlpha(t.canvas, c.number("canvasbgalpha", 100));
    if (d > 0) {
        Rect back{p.x + d, p.y - d, p.w, p.h};
        ctx_.scene.fillStroke(
            [&] {
                Path q;
                q.rect(back);
                return q;
            }(),
            canvas, Stroke{t.canvasBorder, 1});
        Path wall;
        wall.polygon(
            {{p.x, p.y}, {p.x + d, p.y - d}, {p.x + d, p.bottom() - d}, {p.x, p.bottom()}});
        ctx_.scene.fillStroke(std::move(wall), shade(canvas, 0.93), Stroke{t.canvasBorder, 1});
        Path floor;
        floor.polygon({{p.x, p.bottom()},
                       {p.x + d, p.bottom() - d},
                       {p.right() + d, p.bottom() - d},
                       {p.right(), p.bottom()}});
        ctx_.scene.fillStroke(std::move(floor), shade(canvas, 0.85), Stroke{t.canvasBorder, 1});
    } else {
        Path q;
        q.rect(p);
        ctx_.scene.fillStroke(std::move(q), canvas, Stroke{t.canvasBorder, 1});
    }
    // Alternate bands and div lines along the primary value axis.
    const AxisScale& a = g_.primary;
    bool bands = c.flag("showalternatehgridcolor", c.flag("showalternatevgridcolor", true));
    Color band = parseColor(c.text("alternatehgridcolor"), t.altBand);
    Stroke div{t.divLine, 1};
    if (c.flag("divlineisdashed", false)) div.dash = 4, div.gap = 3;
    int divisions = a.divisions;
    for (int i = 0; i < divisions; ++i) {
        double p0 = g_.valuePos(a.tick(i), false), p1 = g_.valuePos(a.tick(i + 1), false);
        if (bands && i % 2 == 1) {
            Rect r = g_.horizontal ? Rect{std::min(p0, p1), p.y, std::fabs(p1 - p0), p.h}
                                   : Rect{p.x, std::min(p0, p1), p.w, std::fabs(p1 - p0)};
            r.x += d;
            r.y -= d;
            ctx_.scene.fillRect(r, band);
        }
        if (i > 0) {
            if (g_.horizontal) {
                ctx_.scene.line(p0 + d, p.y - d, p0 + d, p.bottom() - d, div);
                if (d > 0) ctx_.scene.line(p0, p.bottom(), p0 + d, p.bottom() - d, div);
            } else {
                ctx_.scene.line(p.x + d, p0 - d, p.right() + d, p0 - d, div);
                if (d > 0) ctx_.scene.line(p.x, p0, p.x + d, p0 - d, div);
            }
        }
    }
    if (a.min < 0 && a.max > 0) {
        double z = g_.valuePos(0, false);
        Stroke zero{t.axisLine, 1.2};
        if (g_.horizontal) {
            ctx_.scene.line(z + d, p.y - d, z + d, p.bottom() - d, zero);
        } else {
            ctx_.scene.line(p.x + d, z - d, p.right() + d, z - d, zero);
            if (d > 0) ctx_.scene.line(p.x, z, p.x + d, z - d, zero);
        }
    }
    drawTrends(true);
    drawCategoryMarks();
}

// Separator lines after categories and zones over ranges of categories.
void CartesianFrame::drawCategoryMarks() {
    Rect p = g_.plot;
    // Vertical separator lines after categories.
    for (const VLine& v : ctx_.model.vlines) {
        if (!g_.visible(v.after) || v.after + 1 >= g_.first + g_.count) continue;
        double pos = g_.categoryPos(v.after) + g_.slotOf(v.after) / 2;
        Stroke s = lineStroke(v.attrs, rgb(0x999999), 1);
        if (g_.horizontal) {
            ctx_.scene.line(p.x, pos, p.right(), pos, s);
        } else {
            ctx_.scene.line(pos, p.y, pos, p.bottom(), s);
        }
    }
    // Category zones (vTrendlines by category position).
    for (const TrendLine& tl : ctx_.model.vtrendlines) {
        double c0 = g_.categoryPos(static_cast<std::size_t>(std::clamp(tl.start, 0.0, 1e9)));
        double c1 = g_.categoryPos(static_cast<std::size_t>(std::clamp(tl.end, 0.0, 1e9)));
        Color col = withAlpha(parseColor(tl.attrs.text("color"), rgb(0x999999)),
                              tl.attrs.number("alpha", 20));
        Rect r = g_.horizontal ? Rect{p.x, std::min(c0, c1), p.w, std::fabs(c1 - c0) + 1}
                               : Rect{std::min(c0, c1), p.y, std::fabs(c1 - c0) + 1, p.h};
        ctx_.scene.fillRect(r, col);
    }
}

// The bands of the trend zones (behind the series) or the trend lines (over them).
void CartesianFrame::drawTrends(bool zones) {
    Rect p = g_.plot;
    const std::vector<TrendLine>& trends = ctx_.model.trendlines;
    for (std::size_t k = 0; k < trends.size(); ++k) {
        const TrendLine& tl = trends[k];
        if (tl.zone != zones) continue;
        bool sec = g_.hasSecondary && onSecondary(tl.attrs);
        double p0 = g_.valuePos(tl.start, sec), p1 = g_.valuePos(tl.end, sec);
        Color col = parseColor(tl.attrs.text("color"), rgb(0x333333));
        if (zones) {
            Rect r = g_.horizontal ? Rect{std::min(p0, p1), p.y, std::fabs(p1 - p0), p.h}
                                   : Rect{p.x, std::min(p0, p1), p.w, std::fabs(p1 - p0)};
            ctx_.scene.fillRect(r, withAlpha(col, tl.attrs.number("alpha", 30)));
        } else {
            Stroke s = lineStroke(tl.attrs, rgb(0x333333), 1);
            if (g_.horizontal) {
                ctx_.scene.line(p0, p.y, p1, p.bottom(), s);
            } else {
                ctx_.scene.line(p.x, p0, p.right(), p1, s);
            }
        }
    }
}

// The trend zones' labels, then the trend lines' labels, over the series: a zone's band lies
// behind the series, its name must not.
void CartesianFrame::drawTrendTexts() {
    for (bool zones : {true, false}) {
        for (std::size_t k = 0; k < trendTexts_.size(); ++k) {
            if (ctx_.model.trendlines[k].zone == zones && !trendTexts_[k].text.empty())
                ctx_.scene.add(trendTexts_[k]);
        }
    }
}

// The trend lines' and zones' labels: over a zone's middle or at a line's right end (outside
// the plot with valueOnRight), and on bar charts over the plot.
void CartesianFrame::layoutTrendLabels() {
    Rect p = g_.plot;
    trendTexts_.clear();
    for (const TrendLine& tl : ctx_.model.trendlines) {
        TextItem& text = trendTexts_.emplace_back();
        std::string label = tl.attrs.text("displayvalue");
        if (label.empty()) continue;
        bool sec = g_.hasSecondary && onSecondary(tl.attrs);
        double p0 = g_.valuePos(tl.start, sec), p1 = g_.valuePos(tl.end, sec);
        Font f = ctx_.style.font(TextRole::TrendValues);
        f.color = parseColor(tl.attrs.text("color"), f.color);
        double mid = tl.zone ? (p0 + p1) / 2 : p1;
        TextTag tag{TextKind::Trend};
        if (g_.horizontal) {
            text = placeText(ctx_, tag, label, f, mid, p.y - 2, HAlign::Center, VAlign::Bottom, 0,
                             120);
        } else if (tl.attrs.flag("valueonright", false)) {
            double x =
                p.right() + g_.depth + 4 + (secondaryExtent_ > 0 ? secondaryExtent_ + 10 : 0);
            text = placeText(ctx_, tag, label, f, x, mid, HAlign::Left, VAlign::Middle, 0,
                             std::max(rightTrendRoom_, 20.0));
        } else {
            text = placeText(ctx_, tag, label, f, p.right() - 3, mid - 2, HAlign::Right,
                             VAlign::Bottom, 0, p.w * 0.5);
        }
    }
}

// The width the labels of the trend lines drawn right of the plot (valueOnRight) need, at most
// a quarter of the area; 0 when there are none or the chart is horizontal.
double CartesianFrame::rightTrendRoom(const Rect& area) const {
    if (g_.horizontal) return 0;
    Font f = ctx_.style.font(TextRole::TrendValues);
    double widest = 0;
    for (const TrendLine& tl : ctx_.model.trendlines) {
        std::string label = tl.attrs.text("displayvalue");
        if (!label.empty() && tl.attrs.flag("valueonright", false))
            widest = std::max(widest, ctx_.text.measure(label, f).w);
    }
    return std::min(widest, area.w * 0.25);
}

void CartesianFrame::listTexts(const std::vector<TextItem>& values) const {
    ChartLayout& layout = ctx_.scene.layout;
    for (bool zones : {true, false}) {
        for (std::size_t k = 0; k < trendTexts_.size(); ++k) {
            if (ctx_.model.trendlines[k].zone == zones) player::listTexts(layout, {trendTexts_[k]});
        }
    }
    player::listTexts(layout, values);
    player::listTexts(layout, axisTexts_);
}

void CartesianFrame::drawFront(const std::vector<TextItem>& values) {
    const PaletteTheme& t = ctx_.style.theme();
    Rect p = g_.plot;
    Stroke axis{t.axisLine, 1};
    ctx_.scene.line(p.x, p.y, p.x, p.bottom(), axis);
    ctx_.scene.line(p.x, p.bottom(), p.right(), p.bottom(), axis);
    drawTrends(false);
    drawTrendTexts();
    drawTexts(ctx_.scene, values);
    drawTexts(ctx_.scene, axisTexts_);
}

void CartesianFrame::drawScrollBar(const ViewState& view) {
    const PaletteTheme& t = ctx_.style.theme();
    Rect r = scrollBar_;
    r.x = g_.plot.x;
    r.w = g_.plot.w;
    double button = r.h;
    ctx_.scene.fillRect(r, shade(t.canvasBorder, 1.6));
    Rect leftB{r.x, r.y, button, r.h}, rightB{r.right() - button, r.y, button, r.h};
    for (const Rect& b : {leftB, rightB}) {
        Path q;
        q.rect(b);
        ctx_.scene.fillStroke(std::move(q), shade(t.canvasBorder, 1.3), Stroke{t.canvasBorder, 1});
    }
    auto arrow = [&](const Rect& b, bool toLeft) {
        double cx = b.x + b.w / 2, cy = b.y + b.h / 2, s = b.h * 0.25;
        Path a;
        if (toLeft) {
            a.polygon({{cx - s, cy}, {cx + s, cy - s}, {cx + s, cy + s}});
        } else {
            a.polygon({{cx + s, cy}, {cx - s, cy - s}, {cx - s, cy + s}});
        }
        ctx_.scene.fillPath(std::move(a), t.axisLine);
    };
    arrow(leftB, true);
    arrow(rightB, false);
    double track = std::max(r.w - 2 * button, 1.0);
    double total = static_cast<double>(std::max<std::size_t>(view.scrollTotal, 1));
    double thumbW = std::max(track * static_cast<double>(view.scrollVisible) / total, 8.0);
    double thumbX = r.x + button +
                    (track - thumbW) * static_cast<double>(view.scrollStart) /
                        std::max(total - static_cast<double>(view.scrollVisible), 1.0);
    Path thumb;
    thumb.rect({thumbX, r.y + 2, thumbW, r.h - 4});
    ctx_.scene.fillStroke(std::move(thumb), shade(t.canvasBorder, 1.1), Stroke{t.axisLine, 1});
    HitRegion left, right, trackHit;
    left.rect = leftB;
    left.kind = HitKind::ScrollLeft;
    right.rect = rightB;
    right.kind = HitKind::ScrollRight;
    trackHit.rect = {leftB.right(), r.y, track, r.h};
    trackHit.kind = HitKind::ScrollTrack;
    ctx_.scene.hits.push_back(std::move(trackHit));
    ctx_.scene.hits.push_back(std::move(left));
    ctx_.scene.hits.push_back(std::move(right));
}

} // namespace plotara::player

#include "player/layout/Frame.h"

#include "player/util/TextUtil.h"

#include <algorithm>

namespace plotara::player {

TextItem placeText(const ChartContext& ctx, TextTag tag, std::string text, const Font& font,
                   double x, double y, HAlign h, VAlign v, double angle, double maxWidth) {
    TextItem item;
    item.tag = tag;
    item.text = std::move(text);
    item.font = font;
    item.x = x;
    item.y = y;
    item.h = h;
    item.v = v;
    item.angle = angle;
    item.maxWidth = maxWidth;
    ctx.text.place(item);
    return item;
}

Rect marginArea(const ChartContext& ctx) {
    const Attributes& c = ctx.model.chart;
    auto margin = [&](const char* name) { return std::clamp(c.number(name, 12), 0.0, 200.0); };
    double l = margin("chartleftmargin"), r = margin("chartrightmargin");
    double t = margin("charttopmargin"), b = margin("chartbottommargin");
    Rect area{l, t, ctx.width - l - r, ctx.height - t - b};
    area.w = std::max(area.w, 10.0);
    area.h = std::max(area.h, 10.0);
    return area;
}

void listTexts(ChartLayout& layout, const std::vector<TextItem>& texts) {
    for (const TextItem& t : texts) {
        if (!t.text.empty()) layout.texts.push_back({t.tag, t.text, t.box, t.angle, t.fullText});
    }
}

void drawTexts(Scene& scene, const std::vector<TextItem>& texts) {
    for (const TextItem& t : texts) {
        if (t.text.empty()) continue;
        // A value label goes with its series.
        scene.markSeries(t.tag.kind == TextKind::ValueLabel ? t.tag.series : -1);
        scene.add(t);
    }
    scene.markSeries(-1);
}

TitleLayout layoutTitles(const ChartContext& ctx, Rect area) {
    const Attributes& c = ctx.model.chart;
    TitleLayout titles;
    double cx = area.x + area.w / 2, y = area.y;
    auto title = [&](TextKind kind, TextRole role, const char* attribute) {
        std::string text = c.text(attribute);
        if (text.empty()) return;
        titles.texts.push_back(placeText(ctx, {kind}, std::move(text), ctx.style.font(role), cx, y,
                                         HAlign::Center, VAlign::Top, 0, area.w));
        y = titles.texts.back().box.bottom() + 2;
    };
    title(TextKind::Caption, TextRole::Caption, "caption");
    title(TextKind::SubCaption, TextRole::SubCaption, "subcaption");
    if (y > area.y) y += 8;
    double used = std::min(y - area.y, area.h * 0.4);
    titles.rest = {area.x, area.y + used, area.w, area.h - used};
    return titles;
}

namespace {

constexpr double swatch = 10, gapInner = 4, gapItem = 14;

// One legend entry in its box: the name ellipsized to the box's width after the swatch.
LegendEntry layoutEntry(const ChartContext& ctx, const LegendItem& item, std::size_t index,
                        Rect box, const Font& font) {
    LegendEntry entry{item, index, box, {}};
    entry.text = placeText(ctx, {TextKind::Legend, static_cast<int>(index)}, item.name, font,
                           box.x + swatch + gapInner, box.y + box.h / 2, HAlign::Left,
                           VAlign::Middle, 0, box.w - swatch - gapInner);
    return entry;
}

void noteHidden(ChartContext& ctx, std::size_t hidden) {
    if (hidden > 0)
        ctx.scene.layout.notes.push_back(std::to_string(hidden) +
                                         " legend entries not shown: the legend is full");
}

// One entry a line in a column at the right of the area, at most 30 % of its width.
LegendLayout layoutLegendRight(ChartContext& ctx, const std::vector<LegendItem>& items, Rect area,
                               const Font& font, double lineH) {
    double widest = 0;
    for (const LegendItem& item : items)
        widest = std::max(widest, swatch + gapInner + ctx.text.measure(item.name, font).w);
    double w = std::min(widest, area.w * 0.3 - 12);
    std::size_t fit = static_cast<std::size_t>(std::max(1.0, (area.h - 8) / lineH));
    std::size_t shown = std::min(items.size(), fit);
    noteHidden(ctx, items.size() - shown);
    double height = static_cast<double>(shown) * lineH + 8;
    double x = area.right() - w - 8, y = area.y + (area.h - height) / 2;
    LegendLayout legend;
    legend.frame = Rect{x - 6, y, w + 12, height};
    for (std::size_t i = 0; i < shown; ++i)
        legend.entries.push_back(layoutEntry(
            ctx, items[i], i, {x, y + 4 + static_cast<double>(i) * lineH, w, lineH}, font));
    legend.rest = {area.x, area.y, std::max(10.0, area.w - w - 20), area.h};
    return legend;
}

struct Placed {
    std::size_t index;
    double w;
};

// The entries in rows no wider than the area, each as wide as its swatch and name.
std::vector<std::vector<Placed>> legendRows(ChartContext& ctx, const std::vector<LegendItem>& items,
                                            Rect area, const Font& font) {
    double maxItemW = area.w - 16;
    std::vector<std::vector<Placed>> rows(1);
    double rowW = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        double w = std::min(swatch + gapInner + ctx.text.measure(items[i].name, font).w, maxItemW);
        double add = rows.back().empty() ? w : gapItem + w;
        if (!rows.back().empty() && rowW + add > area.w - 8) {
            rows.emplace_back();
            rowW = 0;
            add = w;
        }
        rows.back().push_back({i, w});
        rowW += add;
    }
    return rows;
}

} // namespace

std::vector<TextItem> LegendLayout::texts() const {
    std::vector<TextItem> out;
    for (const LegendEntry& e : entries)
        out.push_back(e.text);
    return out;
}

LegendLayout layoutLegend(ChartContext& ctx, const std::vector<LegendItem>& items, Rect area) {
    LegendLayout legend;
    legend.rest = area;
    if (items.empty()) return legend;
    Font font = ctx.style.font(TextRole::Legend);
    double lineH = ctx.text.measure("Ag", font).h + 4;
    if (equalsNoCase(trimSpace(ctx.model.chart.text("legendposition")), "right") && area.w > 120)
        legend = layoutLegendRight(ctx, items, area, font, lineH);
    else {
        std::vector<std::vector<Placed>> rows = legendRows(ctx, items, area, font);
        // A legend may take at most a third of the height; rows beyond that are not shown.
        auto maxRows = std::max<std::size_t>(1, static_cast<std::size_t>(area.h / 3 / lineH));
        if (rows.size() > maxRows) {
            std::size_t hidden = 0;
            for (std::size_t r = maxRows; r < rows.size(); ++r)
                hidden += rows[r].size();
            noteHidden(ctx, hidden);
            rows.resize(maxRows);
        }
        double height = static_cast<double>(rows.size()) * lineH + 8;
        double y = area.bottom() - height + 4;
        legend.frame = Rect{area.x + 2, y - 3, area.w - 4, height - 2};
        for (const auto& row : rows) {
            double total = 0;
            for (const Placed& p : row)
                total += p.w;
            total += gapItem * static_cast<double>(row.size() - 1);
            double x = area.x + (area.w - total) / 2;
            for (const Placed& p : row) {
                legend.entries.push_back(
                    layoutEntry(ctx, items[p.index], p.index, {x, y, p.w, lineH}, font));
                x += p.w + gapItem;
            }
            y += lineH;
        }
        legend.rest = {area.x, area.y, area.w, std::max(0.0, area.h - height - 4)};
    }
    for (const LegendEntry& e : legend.entries)
        ctx.scene.layout.legend.push_back({e.item.name, e.item.color, e.item.hidden});
    return legend;
}

void drawLegend(ChartContext& ctx, const LegendLayout& legend) {
    if (!legend.frame) return;
    Path frame;
    frame.rect(*legend.frame);
    ctx.scene.strokePath(std::move(frame), Stroke{ctx.style.theme().canvasBorder, 1});
    for (const LegendEntry& e : legend.entries) {
        LegendItem item = e.item;
        TextItem name = e.text;
        if (item.hidden) {
            // A hidden series' entry stays, faded.
            item.color = withAlpha(item.color, 30);
            name.font.color = withAlpha(name.font.color, 45);
        }
        double cy = e.box.y + e.box.h / 2, x = e.box.x;
        if (item.line) {
            // The same darker edge a light line gets in the plot.
            Color edge = legibleOn(item.color, ctx.style.theme().canvas);
            if (!(edge == item.color)) ctx.scene.line(x, cy, x + swatch, cy, Stroke{edge, 3.5});
            ctx.scene.line(x, cy, x + swatch, cy, Stroke{item.color, 2});
        } else {
            ctx.scene.fillRect({x, cy - swatch / 2, swatch, swatch}, item.color);
        }
        if (!name.text.empty()) ctx.scene.add(std::move(name));
        HitRegion hit;
        hit.rect = e.box;
        hit.kind = HitKind::Legend;
        hit.series = item.name;
        hit.seriesIndex = item.series >= 0 ? item.series : static_cast<int>(e.index);
        hit.toolText = item.name;
        ctx.scene.hits.push_back(std::move(hit));
    }
}

TextItem ValueLabels::valueText(TextTag tag, const std::string& text) const {
    TextItem item;
    item.tag = tag;
    item.tag.kind = TextKind::ValueLabel;
    item.text = text;
    item.font = ctx_.style.font(TextRole::DataValues);
    return item;
}

bool ValueLabels::place(TextTag tag, const std::string& text, double x, double y, HAlign h,
                        VAlign v, double angle, const Rect* within, double priority) {
    if (text.empty()) return false;
    TextItem item = valueText(tag, text);
    item.x = x;
    item.y = y;
    item.h = h;
    item.v = v;
    item.angle = angle;
    return offer(std::move(item), within, priority);
}

bool ValueLabels::placeAtEnd(TextTag tag, const std::string& text, double x, double y, HAlign h,
                             VAlign v, const Rect& bar, bool horizontal, bool negative, Color fill,
                             double priority) {
    if (text.empty()) return false;
    TextItem outside = valueText(tag, text);
    outside.x = x;
    outside.y = y;
    outside.h = h;
    outside.v = v;
    if (offer(std::move(outside), nullptr, priority, false)) return true;
    TextItem item = valueText(tag, text);
    Color black = rgb(0x000000), white = rgb(0xFFFFFF);
    item.font.color = contrast(fill, black) >= contrast(fill, white) ? black : white;
    if (horizontal) {
        item.x = negative ? bar.x + 3 : bar.right() - 3;
        item.y = bar.y + bar.h / 2;
        item.h = negative ? HAlign::Left : HAlign::Right;
        item.v = VAlign::Middle;
    } else {
        item.x = bar.x + bar.w / 2;
        item.y = negative ? bar.bottom() - 2 : bar.y + 2;
        item.h = HAlign::Center;
        item.v = negative ? VAlign::Bottom : VAlign::Top;
    }
    return offer(std::move(item), &bar, priority);
}

bool ValueLabels::offer(TextItem item, const Rect* within, double priority, bool countRejected) {
    int index = item.tag.index;
    // A point's label shows once its point has arrived.
    if (index >= 0 && !arrived(static_cast<std::size_t>(index))) return false;
    if (!onlyFor_.empty() && index >= 0 &&
        (static_cast<std::size_t>(index) >= onlyFor_.size() ||
         !onlyFor_[static_cast<std::size_t>(index)])) {
        unnamed_ += countRejected;
        return false;
    }
    ctx_.text.place(item);
    const Rect& b = item.box;
    if (b.x < bounds_.x - 1 || b.right() > bounds_.right() + 1 || b.y < bounds_.y - 1 ||
        b.bottom() > bounds_.bottom() + 1) {
        dropped_ += countRejected;
        return false;
    }
    if (within && (b.w > within->w - 2 || b.h > within->h)) {
        dropped_ += countRejected;
        return false;
    }
    offers_.push_back({std::move(item), priority});
    return true;
}

std::vector<TextItem> ValueLabels::settle() {
    std::vector<std::size_t> order(offers_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return offers_[a].priority > offers_[b].priority;
    });
    std::vector<bool> kept(offers_.size(), false);
    for (std::size_t i : order) {
        const Rect& b = offers_[i].item.box;
        const TextTag& tag = offers_[i].item.tag;
        bool free = std::none_of(placed_.begin(), placed_.end(),
                                 [&](const Rect& r) { return r.overlaps(b); }) &&
                    std::none_of(obstacles_.begin(), obstacles_.end(), [&](const Obstacle& o) {
                        bool own = o.owner.series == tag.series && o.owner.index == tag.index;
                        return !own && o.box.overlaps(b);
                    });
        if (!free) {
            ++dropped_;
            continue;
        }
        placed_.push_back(b);
        kept[i] = true;
    }
    std::vector<TextItem> out;
    for (std::size_t i = 0; i < offers_.size(); ++i) {
        if (kept[i]) out.push_back(std::move(offers_[i].item));
    }
    offers_.clear();
    if (dropped_ > 0)
        ctx_.scene.layout.notes.push_back(std::to_string(dropped_) +
                                          " value labels hidden: no room beside their points");
    if (unnamed_ > 0)
        ctx_.scene.layout.notes.push_back(
            std::to_string(unnamed_) +
            " value labels hidden: their rows' names are thinned out, so they would read as "
            "another row's value");
    dropped_ = unnamed_ = 0;
    return out;
}

} // namespace plotara::player

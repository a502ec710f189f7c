// The grid chart: the single-series data as a table (colour box, label, value and optionally
// the share in per cent), shaped by the grid parameters of the movie URL.
#include "player/grid/GridChart.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

namespace {

// The table's look from the grid parameters, and its rows once laid out.
struct GridLayout {
    NumberFormat fmt;
    Font font;
    bool percent = false, colorBoxes = true;
    Color alternate, divider;
    double dividerWidth = 1;
    double total = 0;
    Rect area;
    double rowH = 12, box = 0, valueW = 0, percentW = 0;
    std::size_t rows = 0, shown = 0;
    bool moreRow = false; // the last row reads "and N more"
};

GridLayout gridLook(ChartContext& ctx, const Attributes& grid, const Series& s) {
    GridLayout l;
    l.fmt = numberFormatOf(ctx.model.chart);
    if (auto d = grid.optionalNumber("decimals"))
        l.fmt.decimals = static_cast<int>(std::clamp(*d, 0.0, 10.0));
    for (const DataPoint& p : s.points) {
        if (!isMissing(p.value)) l.total += p.value;
    }
    l.font = ctx.style.font(TextRole::DataLabels);
    if (auto size = grid.optionalNumber("basefontsize")) l.font.size = std::clamp(*size, 4.0, 72.0);
    if (grid.has("basefont")) l.font.family = grid.text("basefont");
    l.font.color = parseColor(grid.text("basefontcolor"), l.font.color);
    l.percent = grid.flag("showpercentvalues", false);
    l.colorBoxes = grid.flag("showcolorboxes", true);
    l.alternate = withAlpha(parseColor(grid.text("alternaterowbgcolor"), rgb(0xF3F6F9)),
                            grid.number("alternaterowbgalpha", 100));
    l.divider = parseColor(grid.text("listrowdividercolor"), rgb(0xDDDDDD));
    l.dividerWidth = std::clamp(grid.number("listrowdividerthickness", 1), 0.0, 10.0);
    ctx.scene.background = parseColor(grid.text("bgcolor"), ctx.scene.background);
    return l;
}

// Row height and rows shown: rows that do not fit first get lower, down to a readable minimum;
// what still does not fit is summed up in a last "and N more" row (and a note).
void layoutRows(ChartContext& ctx, const Attributes& grid, const Series& s, GridLayout& l) {
    double lineH = ctx.text.measure("Ag", l.font).h;
    l.rowH = std::max(lineH + 8, 12.0);
    l.rows = s.points.size();
    double perPage = grid.number("numberitemsperpage", 0);
    double minRowH = std::max(lineH + 2, 8.0);
    l.shown = l.rows;
    if (perPage >= 1) {
        l.shown = std::min<std::size_t>(static_cast<std::size_t>(std::min(perPage, 1e6)), l.rows);
        if (l.shown > 0) l.rowH = std::max(l.area.h / static_cast<double>(l.shown), 8.0);
    } else if (l.rows > 0 && static_cast<double>(l.rows) * l.rowH > l.area.h) {
        l.rowH = std::max(l.area.h / static_cast<double>(l.rows), minRowH);
    }
    std::size_t fit = static_cast<std::size_t>(std::max(1.0, std::floor(l.area.h / l.rowH + 1e-9)));
    l.moreRow = l.shown > fit;
    if (l.moreRow) l.shown = fit - 1;
    if (l.shown < l.rows)
        ctx.scene.layout.notes.push_back(
            std::to_string(l.rows - l.shown) + " rows not shown: " +
            (l.moreRow ? "no room for them" : "numberItemsPerPage limits the rows"));
    l.box = l.colorBoxes ? std::min(l.rowH * 0.55, 14.0) : 0;
    for (std::size_t i = 0; i < l.shown; ++i)
        l.valueW = std::max(l.valueW, ctx.text.measure(l.fmt.format(s.points[i].value), l.font).w);
    if (l.percent) l.percentW = ctx.text.measure("100.00%", l.font).w;
}

// The texts of one row (label, value, share), placed in the row the layout gave it.
std::vector<TextItem> layoutRowTexts(const ChartContext& ctx, const GridLayout& l, const Series& s,
                                     std::size_t i) {
    const ChartModel& m = ctx.model;
    const DataPoint& p = s.points[i];
    double cy = l.area.y + static_cast<double>(i) * l.rowH + l.rowH / 2;
    double x = l.area.x + 4 + (l.colorBoxes ? l.box + 6 : 0), x1 = l.area.right() - 4;
    std::string label = i < m.categories.size() ? m.categories[i].label : std::string();
    double valueX = x1 - (l.percent ? l.percentW + 12 : 0);
    TextTag tag{TextKind::CategoryLabel, 0, static_cast<int>(i)};
    std::vector<TextItem> texts;
    texts.push_back(placeText(ctx, tag, label, l.font, x, cy, HAlign::Left, VAlign::Middle, 0,
                              std::max(valueX - l.valueW - 12 - x, 8.0)));
    tag.kind = TextKind::ValueLabel;
    texts.push_back(placeText(ctx, tag, l.fmt.format(p.value), l.font, valueX, cy, HAlign::Right,
                              VAlign::Middle));
    if (l.percent && l.total != 0 && !isMissing(p.value)) {
        NumberFormat pf = l.fmt.percent(2, true);
        texts.push_back(placeText(ctx, tag, pf.format(100 * p.value / l.total), l.font, x1, cy,
                                  HAlign::Right, VAlign::Middle));
    }
    return texts;
}

// One row: band, divider, colour box, the row's texts as laid out, and its hit region.
void drawRow(ChartContext& ctx, const GridLayout& l, const Series& s, std::size_t i,
             std::vector<TextItem> texts) {
    const ChartModel& m = ctx.model;
    const Rect& area = l.area;
    const DataPoint& p = s.points[i];
    double y = area.y + static_cast<double>(i) * l.rowH;
    if (i % 2 == 1) ctx.scene.fillRect({area.x, y, area.w, l.rowH}, l.alternate);
    if (l.dividerWidth > 0 && i + 1 < l.shown)
        ctx.scene.line(area.x, y + l.rowH, area.right(), y + l.rowH,
                       Stroke{l.divider, l.dividerWidth});
    double cy = y + l.rowH / 2;
    if (l.colorBoxes) {
        Color color = parseColor(p.attrs.text("color"), ctx.style.seriesColor(i));
        ctx.scene.fillRect({area.x + 4, cy - l.box / 2, l.box, l.box}, color);
    }
    for (TextItem& t : texts) {
        if (!t.text.empty()) ctx.scene.add(std::move(t));
    }
    std::string label = i < m.categories.size() ? m.categories[i].label : std::string();
    std::string value = l.fmt.format(p.value);
    HitRegion hit;
    hit.rect = {area.x, y, area.w, l.rowH};
    hit.kind = HitKind::Row;
    hit.label = label;
    hit.value = value;
    hit.pointIndex = static_cast<int>(i);
    hit.toolText = p.attrs.has("tooltext") ? p.attrs.text("tooltext")
                                           : (label.empty() ? value : label + ", " + value);
    hit.link = p.attrs.text("link");
    ctx.scene.hits.push_back(std::move(hit));
}

// The last row's "and N more" when rows were left out; an empty text otherwise.
TextItem layoutMoreRow(const ChartContext& ctx, const GridLayout& l) {
    if (!l.moreRow) return {};
    double y = l.area.y + static_cast<double>(l.shown) * l.rowH;
    Font more = l.font;
    more.italic = true;
    return placeText(ctx, {TextKind::Other}, "and " + std::to_string(l.rows - l.shown) + " more",
                     more, l.area.x + 4, y + l.rowH / 2, HAlign::Left, VAlign::Middle, 0,
                     l.area.w - 8);
}

// The rows as laid out, then the last row's band and text.
void drawGrid(ChartContext& ctx, const GridLayout& l, const Series& s,
              std::vector<std::vector<TextItem>>& rowTexts, const TextItem& more) {
    for (std::size_t i = 0; i < l.shown; ++i)
        drawRow(ctx, l, s, i, std::move(rowTexts[i]));
    if (!l.moreRow) return;
    double y = l.area.y + static_cast<double>(l.shown) * l.rowH;
    if (l.shown % 2 == 1) ctx.scene.fillRect({l.area.x, y, l.area.w, l.rowH}, l.alternate);
    drawTexts(ctx.scene, {more});
}

} // namespace

bool renderGrid(ChartContext& ctx, const Attributes& grid) {
    const ChartModel& m = ctx.model;
    if (m.datasets.empty()) return false;
    const Series& s = m.datasets.front();
    GridLayout l = gridLook(ctx, grid, s);
    TitleLayout titles = layoutTitles(ctx, marginArea(ctx));
    l.area = titles.rest;
    ctx.scene.layout.plot = l.area;
    layoutRows(ctx, grid, s, l);
    std::vector<std::vector<TextItem>> rowTexts;
    for (std::size_t i = 0; i < l.shown; ++i)
        rowTexts.push_back(layoutRowTexts(ctx, l, s, i));
    TextItem more = layoutMoreRow(ctx, l);
    listTexts(ctx.scene.layout, titles.texts);
    for (const std::vector<TextItem>& row : rowTexts)
        listTexts(ctx.scene.layout, row);
    listTexts(ctx.scene.layout, {more});
    LayoutSeries drawn;
    drawn.name = s.name;
    drawn.renderAs = "grid";
    drawn.points = l.rows;
    drawn.drawn = l.shown;
    ctx.scene.layout.series.push_back(std::move(drawn));
    if (!ctx.drawing) return true;
    drawTexts(ctx.scene, titles.texts);
    drawGrid(ctx, l, s, rowTexts, more);
    return true;
}

} // namespace plotara::player

// The grid chart: the single-series data as a table (colour box, label, value and optionally
// the share in per cent), shaped by the grid parameters of the movie URL.
#include "player/Families.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

bool renderGrid(ChartContext& ctx, const Attributes& grid) {
    const ChartModel& m = ctx.model;
    if (m.datasets.empty()) return false;
    const Series& s = m.datasets.front();
    NumberFormat fmt = numberFormatOf(m.chart);
    if (auto d = grid.optionalNumber("decimals"))
        fmt.decimals = static_cast<int>(std::clamp(*d, 0.0, 10.0));
    double total = 0;
    for (const DataPoint& p : s.points) {
        if (!isMissing(p.value)) total += p.value;
    }
    Font font = ctx.style.font(TextRole::DataLabels);
    if (auto size = grid.optionalNumber("basefontsize")) font.size = std::clamp(*size, 4.0, 72.0);
    if (grid.has("basefont")) font.family = grid.text("basefont");
    font.color = parseColor(grid.text("basefontcolor"), font.color);
    bool percent = grid.flag("showpercentvalues", false);
    bool colorBoxes = grid.flag("showcolorboxes", true);
    Color alternate = withAlpha(parseColor(grid.text("alternaterowbgcolor"), rgb(0xF3F6F9)),
                                grid.number("alternaterowbgalpha", 100));
    Color divider = parseColor(grid.text("listrowdividercolor"), rgb(0xDDDDDD));
    double dividerWidth = std::clamp(grid.number("listrowdividerthickness", 1), 0.0, 10.0);
    ctx.scene.background = parseColor(grid.text("bgcolor"), ctx.scene.background);

    Rect area = drawTitles(ctx, marginArea(ctx));
    ctx.scene.layout.plot = area;
    double lineH = ctx.text.measure("Ag", font).h;
    double rowH = std::max(lineH + 8, 12.0);
    std::size_t rows = s.points.size();
    double perPage = grid.number("numberitemsperpage", 0);
    // Rows that do not fit first get lower, down to a readable minimum; what still does not fit
    // is summed up in a last "and N more" row.
    double minRowH = std::max(lineH + 2, 8.0);
    std::size_t shown = rows;
    if (perPage >= 1) {
        shown = std::min<std::size_t>(static_cast<std::size_t>(std::min(perPage, 1e6)), rows);
        if (shown > 0) rowH = std::max(area.h / static_cast<double>(shown), 8.0);
    } else if (rows > 0 && static_cast<double>(rows) * rowH > area.h) {
        rowH = std::max(area.h / static_cast<double>(rows), minRowH);
    }
    std::size_t fit = static_cast<std::size_t>(std::max(1.0, std::floor(area.h / rowH + 1e-9)));
    bool moreRow = shown > fit;
    if (moreRow) shown = fit - 1;
    if (shown < rows)
        ctx.scene.layout.notes.push_back(
            std::to_string(rows - shown) + " rows not shown: " +
            (moreRow ? "no room for them" : "numberItemsPerPage limits the rows"));
    double box = colorBoxes ? std::min(rowH * 0.55, 14.0) : 0;
    double valueW = 0, percentW = 0;
    for (std::size_t i = 0; i < shown; ++i) {
        valueW = std::max(valueW, ctx.text.measure(fmt.format(s.points[i].value), font).w);
    }
    if (percent) percentW = ctx.text.measure("100.00%", font).w;
    double x0 = area.x + 4, x1 = area.right() - 4;
    for (std::size_t i = 0; i < shown; ++i) {
        const DataPoint& p = s.points[i];
        double y = area.y + static_cast<double>(i) * rowH;
        if (i % 2 == 1) ctx.scene.fillRect({area.x, y, area.w, rowH}, alternate);
        if (dividerWidth > 0 && i + 1 < shown)
            ctx.scene.line(area.x, y + rowH, area.right(), y + rowH, Stroke{divider, dividerWidth});
        double cy = y + rowH / 2;
        double x = x0;
        Color color = parseColor(p.attrs.text("color"), ctx.style.seriesColor(i));
        if (colorBoxes) {
            ctx.scene.fillRect({x, cy - box / 2, box, box}, color);
            x += box + 6;
        }
        std::string label = i < m.categories.size() ? m.categories[i].label : std::string();
        double valueX = x1 - (percent ? percentW + 12 : 0);
        addText(ctx, {TextKind::CategoryLabel, 0, static_cast<int>(i)}, label, font, x, cy,
                HAlign::Left, VAlign::Middle, 0, std::max(valueX - valueW - 12 - x, 8.0));
        std::string value = fmt.format(p.value);
        addText(ctx, {TextKind::ValueLabel, 0, static_cast<int>(i)}, value, font, valueX, cy,
                HAlign::Right, VAlign::Middle);
        if (percent && total != 0 && !isMissing(p.value)) {
            NumberFormat pf{"", "%", 2, true, false, false};
            addText(ctx, {TextKind::ValueLabel, 0, static_cast<int>(i)},
                    pf.format(100 * p.value / total), font, x1, cy, HAlign::Right, VAlign::Middle);
        }
        HitRegion hit;
        hit.rect = {area.x, y, area.w, rowH};
        hit.kind = "row";
        hit.label = label;
        hit.value = value;
        hit.pointIndex = static_cast<int>(i);
        hit.toolText = p.attrs.has("tooltext") ? p.attrs.text("tooltext")
                                               : (label.empty() ? value : label + ", " + value);
        hit.link = p.attrs.text("link");
        ctx.scene.hits.push_back(std::move(hit));
    }
    if (moreRow) {
        double y = area.y + static_cast<double>(shown) * rowH;
        if (shown % 2 == 1) ctx.scene.fillRect({area.x, y, area.w, rowH}, alternate);
        Font more = font;
        more.italic = true;
        addText(ctx, {TextKind::Other}, "and " + std::to_string(rows - shown) + " more", more, x0,
                y + rowH / 2, HAlign::Left, VAlign::Middle, 0, area.w - 8);
    }
    LayoutSeries drawnSeries;
    drawnSeries.name = s.name;
    drawnSeries.renderAs = "grid";
    drawnSeries.points = rows;
    drawnSeries.drawn = shown;
    ctx.scene.layout.series.push_back(std::move(drawnSeries));
    return true;
}

} // namespace plotara::player

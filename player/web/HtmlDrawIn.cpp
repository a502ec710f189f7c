// What the page's draw-in needs of the layout to move a chart in as the desktop does: where each
// series' values rest (the base line of its value axis), how many category slots the plot holds
// (a point's slot sets when it sets off), whether the chart's points grow where they stand, and
// where a pie's slices lie (it opens round); and the stacks the series lie in, which the
// legend restacks.
#include "player/layout/ChartLayout.h"
#include "player/layout/JsonWriter.h"
#include "player/web/HtmlPage.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace plotara::player {

namespace {

// The pixel across the plot where a value of the axis rests: zero, or the nearest end of the
// axis when zero is off it (a logarithmic axis' least value). Along y for columns, lines and
// areas, along x for bars; the plot's base when the axis is unknown.
double restPixel(const ChartLayout& layout, const LayoutSeries& series, bool bars) {
    const Rect& plot = *layout.plot;
    const LayoutAxis* axis = layout.axis(series.axis);
    if (axis == nullptr || axis->log || !(axis->max > axis->min))
        return bars ? plot.x : plot.y + plot.h;
    const double rest = std::clamp(0.0, axis->min, axis->max);
    const double f = (rest - axis->min) / (axis->max - axis->min);
    return bars ? plot.x + plot.w * f : plot.y + plot.h * (1 - f);
}

// A pie's centre, height to width, its slices' angles (clockwise, radians) and centres, from the
// slices' hit regions.
void writePie(JsonWriter& json, const std::vector<HitRegion>& regions) {
    std::vector<const HitRegion*> slices;
    for (const HitRegion& r : regions) {
        if (r.kind == HitKind::Slice && r.shape == HitRegion::Shape::Wedge) slices.push_back(&r);
    }
    if (slices.empty()) return;
    const HitRegion& first = *slices.front();
    json.key("pie").object([&] {
        json.key("c").list(std::array{first.center.x, first.center.y}, JsonWriter::Line::Same,
                           [&](double v) { json.number(v); });
        json.key("ys").number(first.yScale > 0 ? first.yScale : 1);
        json.key("a").list(slices, JsonWriter::Line::Same, [&](const HitRegion* r) {
            json.list(std::array{r->a0, r->a1}, JsonWriter::Line::Same,
                      [&](double v) { json.number(v); });
        });
        // Each slice's own centre, which it turns about: a slice pulled out of the pie has its
        // own.
        json.key("o").list(slices, JsonWriter::Line::Same, [&](const HitRegion* r) {
            json.list(std::array{r->center.x, r->center.y}, JsonWriter::Line::Same,
                      [&](double v) { json.number(v); });
        });
    });
}

} // namespace

void writeDrawIn(JsonWriter& json, const HtmlChart& chart, bool bars) {
    if (chart.layout == nullptr) return;
    const ChartLayout& layout = *chart.layout;
    if (!layout.plot || layout.series.empty()) return;
    const bool stacked = std::any_of(layout.series.begin(), layout.series.end(),
                                     [](const LayoutSeries& s) { return s.stack >= 0; });
    if (chart.drawIn <= 0 && !stacked) return;
    const std::string& kind = layout.series.front().renderAs;
    if (kind == "pie" || kind == "doughnut") return writePie(json, chart.regions);
    const bool xy = kind == "scatter" || kind == "bubble";
    json.key("xy").boolean(xy);
    if (xy && kind != "bubble") return;
    // Bubbles set off one after another by their place in their series, as the categories do.
    std::size_t slots = 0;
    for (const LayoutSeries& s : layout.series)
        slots = std::max(slots, s.window ? s.window->second : s.points);
    json.key("slots").count(slots);
    if (xy) return;
    json.key("rest").list(layout.series, JsonWriter::Line::Same, [&](const LayoutSeries& s) {
        json.number(std::round(restPixel(layout, s, bars) * 100) / 100);
    });
    if (stacked) {
        json.key("stacks").list(layout.series, JsonWriter::Line::Same,
                                [&](const LayoutSeries& s) { json.number(s.stack); });
    }
}

} // namespace plotara::player

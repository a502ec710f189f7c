// What the page's draw-in needs of the layout to move a chart in as the desktop does: where each
// series' values rest (the base line of its value axis), how many category slots the plot holds
// (a point's slot sets when it sets off) and whether the chart's points grow where they stand.
#include "player/layout/ChartLayout.h"
#include "player/layout/JsonWriter.h"
#include "player/web/HtmlPage.h"

#include <algorithm>
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

} // namespace

void writeDrawIn(JsonWriter& json, const ChartLayout& layout, bool bars) {
    if (!layout.plot || layout.series.empty()) return;
    const std::string& kind = layout.series.front().renderAs;
    const bool xy = kind == "scatter" || kind == "bubble";
    json.key("xy").boolean(xy);
    if (xy) return;
    std::size_t slots = 0;
    for (const LayoutSeries& s : layout.series)
        slots = std::max(slots, s.window ? s.window->second : s.points);
    json.key("slots").count(slots);
    json.key("rest").list(layout.series, JsonWriter::Line::Same, [&](const LayoutSeries& s) {
        json.number(std::round(restPixel(layout, s, bars) * 100) / 100);
    });
}

} // namespace plotara::player

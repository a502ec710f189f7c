// A line or scatter chart's zoom on a page: the page has no layout engine, so it holds the chart
// laid out at a ladder of ranges (ChartPlayer::Impl::addPageZoom), as the desktop shows each,
// and the script shows the smallest that holds the range asked for. Per window the page holds
// only the SVG lines that differ from the whole chart (axes' labels, grid, the plot's contents),
// as JSON read on the first zoom, and the linear map that takes the whole chart's points into
// the window, through which the script finds the point under the pointer.
#include "player/layout/JsonWriter.h"
#include "player/web/HtmlPage.h"

#include <cmath>
#include <map>
#include <optional>
#include <utility>

namespace plotara::player {

namespace {

bool isPoint(const HitRegion& r) {
    return r.pointIndex >= 0 &&
           (r.kind == HitKind::Anchor || r.kind == HitKind::Point || r.kind == HitKind::Bubble);
}

Point centreOf(const HitRegion& r) {
    if (r.shape == HitRegion::Shape::Rect)
        return {r.rect.x + r.rect.w / 2, r.rect.y + r.rect.h / 2};
    return r.center;
}

using Pairs = std::vector<std::pair<Point, Point>>; // a point in the whole chart and the window

// The whole chart's points by series and point.
using Points = std::map<std::pair<int, int>, Point>;
Points pointsOf(const std::vector<HitRegion>& regions) {
    Points at;
    for (const HitRegion& r : regions)
        if (isPoint(r)) at.emplace(std::pair{r.seriesIndex, r.pointIndex}, centreOf(r));
    return at;
}

// The points both pictures have.
Pairs matchedPoints(const Points& at, const std::vector<HitRegion>& window) {
    Pairs out;
    for (const HitRegion& r : window) {
        const auto found = at.find({r.seriesIndex, r.pointIndex});
        if (isPoint(r) && found != at.end()) out.emplace_back(found->second, centreOf(r));
    }
    return out;
}

// The scale and offset of one axis through the two points furthest apart on it; the identity
// when all lie at one place (a flat line keeps its place).
std::pair<double, double> axisMap(const Pairs& pairs, double Point::*axis) {
    const auto* low = &pairs.front();
    const auto* high = low;
    for (const auto& p : pairs) {
        if (p.first.*axis < low->first.*axis) low = &p;
        if (p.first.*axis > high->first.*axis) high = &p;
    }
    const double span = high->first.*axis - low->first.*axis;
    if (span < 1e-6) return {1, low->second.*axis - low->first.*axis};
    const double scale = (high->second.*axis - low->second.*axis) / span;
    return {scale, low->second.*axis - scale * low->first.*axis};
}

// The linear map from the whole chart into the window, when every point both have lands where
// it puts it (to a fiftieth of a pixel for each pixel of the map's reach).
std::optional<std::array<double, 4>> fitMap(const Pairs& pairs) {
    if (pairs.size() < 2) return std::nullopt;
    const auto [ax, bx] = axisMap(pairs, &Point::x);
    const auto [ay, by] = axisMap(pairs, &Point::y);
    const double tolerance = 0.02 * std::max({1.0, std::abs(ax), std::abs(ay)});
    for (const auto& [from, to] : pairs) {
        if (std::abs(ax * from.x + bx - to.x) > tolerance ||
            std::abs(ay * from.y + by - to.y) > tolerance)
            return std::nullopt;
    }
    return std::array{ax, bx, ay, by};
}

} // namespace

std::string zoomIdPrefix(std::string_view pagePrefix, std::size_t window) {
    return std::string(pagePrefix) + "-z" + std::to_string(window);
}

void addZoomWindows(HtmlChart& chart, std::vector<ZoomWindow> windows, bool xy,
                    const std::array<double, 4>& whole) {
    if (!chart.layout || !chart.layout->plot) return;
    PageZoom zoom;
    zoom.ranges.push_back(whole);
    std::vector<std::string_view> pictures{chart.svg};
    zoom.plots.push_back(*chart.layout->plot);
    zoom.maps.push_back({1, 0, 1, 0});
    const Points points = pointsOf(chart.regions);
    for (const ZoomWindow& w : windows) {
        const std::optional<std::array<double, 4>> map = fitMap(matchedPoints(points, w.regions));
        if (!map) continue;
        pictures.emplace_back(w.svg);
        zoom.plots.push_back(w.plot);
        zoom.ranges.push_back(w.range);
        zoom.maps.push_back(*map);
    }
    if (pictures.size() < 2) return;
    static_cast<WindowSplit&>(zoom) = splitWindows(chart.svg, pictures);
    zoom.xy = xy;
    chart.zoom = std::move(zoom);
}

namespace {

bool differs(const WindowSplit::Segment& segment) {
    for (const std::string& part : segment.parts)
        if (part != segment.parts.front()) return true;
    return false;
}

} // namespace

std::string zoomSvg(const PageZoom& zoom) {
    std::string out = zoom.head;
    for (std::size_t g = 0; g < zoom.segments.size(); ++g) {
        const WindowSplit::Segment& segment = zoom.segments[g];
        if (differs(segment)) {
            out += "<g data-plotara-zoom=\"" + std::to_string(g) + "\">\n";
            out += segment.parts.front();
            out += "</g>\n";
        } else {
            out += segment.parts.front();
        }
        out += segment.shared;
    }
    return out + zoom.tail;
}

std::string zoomJson(const PageZoom& zoom) {
    JsonWriter json;
    json.setScriptSafe(true);
    std::vector<std::size_t> slots;
    for (std::size_t g = 0; g < zoom.segments.size(); ++g)
        if (differs(zoom.segments[g])) slots.push_back(g);
    std::vector<std::size_t> windows(zoom.maps.size());
    for (std::size_t k = 0; k < windows.size(); ++k)
        windows[k] = k;
    json.list(windows, JsonWriter::Line::Own, [&](std::size_t k) {
        json.object([&] {
            json.key("m").list(zoom.maps[k], JsonWriter::Line::Same,
                               [&](double v) { json.number(v); });
            json.key("r").list(zoom.ranges[k], JsonWriter::Line::Same,
                               [&](double v) { json.number(v); });
            json.key("plot").box(zoom.plots[k]);
            if (k == 0) return; // the whole chart: the page shows its parts
            json.key("parts").list(slots, JsonWriter::Line::Same,
                                   [&](std::size_t g) { json.string(zoom.segments[g].parts[k]); });
        });
    });
    return json.text();
}

} // namespace plotara::player

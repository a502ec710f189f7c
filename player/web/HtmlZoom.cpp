// A line or scatter chart's zoom on a page: the page has no layout engine, so it holds the chart
// laid out at a ladder of ranges (ChartPlayer::Impl::addPageZoom), as the desktop shows each,
// and the script shows the smallest that holds the range asked for. Per window the page holds
// only the SVG lines that differ between the pictures (axes' labels, grid, the plot's contents),
// as JSON the page carries packed and the script reads on the first zoom, and the linear map
// that takes the whole chart's points into the window, through which the script finds the point
// under the pointer. A zoomed chart's page shows its window first, the whole chart among the
// others.
#include "player/draw/Scene.h"
#include "player/layout/JsonWriter.h"
#include "player/web/HtmlPage.h"

#include <algorithm>
#include <cmath>
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

// Of a few dozen of the window's points spread over its regions, those the whole chart has too.
// The map is linear: a few points fit and check it, without making every region of every window.
constexpr std::size_t fitPoints = 48;

void addPair(Pairs& out, const SeriesPoints& whole, int series, int point, Point at) {
    if (series < 0 || point < 0 || static_cast<std::size_t>(series) >= whole.size()) return;
    const std::vector<Point>& points = whole[static_cast<std::size_t>(series)];
    if (static_cast<std::size_t>(point) < points.size() && std::isfinite(points[point].x))
        out.emplace_back(points[point], at);
}

// Visits at most fitPoints of count places, spread evenly, the first and the last among them.
template <class Visit>
void spread(std::size_t count, Visit&& visit) {
    const std::size_t n = std::min(count, fitPoints);
    for (std::size_t k = 0; k < n; ++k)
        visit(n < 2 ? 0 : k * (count - 1) / (n - 1));
}

Pairs sampledPairs(const SeriesPoints& whole, const Scene& window) {
    Pairs out;
    spread(window.hits.size(), [&](std::size_t i) {
        const HitRegion r = window.hits[i];
        if (isPoint(r)) addPair(out, whole, r.seriesIndex, r.pointIndex, centreOf(r));
    });
    spread(window.pointHits.size(), [&](std::size_t e) {
        const PointHits::Entry& p = window.pointHits.entry(e);
        addPair(out, whole, window.pointHits.setOf(e).seriesIndex, p.point, {p.x, p.y});
    });
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

SeriesPoints seriesPoints(const std::vector<HitRegion>& regions) {
    SeriesPoints out;
    for (const HitRegion& r : regions) {
        if (!isPoint(r) || r.seriesIndex < 0) continue;
        const auto series = static_cast<std::size_t>(r.seriesIndex);
        const auto point = static_cast<std::size_t>(r.pointIndex);
        if (out.size() <= series) out.resize(series + 1);
        if (out[series].size() <= point) out[series].resize(point + 1, {NAN, NAN});
        out[series][point] = centreOf(r);
    }
    return out;
}

std::optional<std::array<double, 4>> fitZoomMap(const SeriesPoints& whole, const Scene& window) {
    return fitMap(sampledPairs(whole, window));
}

std::string zoomIdPrefix(std::string_view pagePrefix, std::size_t window) {
    return std::string(pagePrefix) + "-z" + std::to_string(window);
}

void addZoomWindows(HtmlChart& chart, std::vector<ZoomWindow> windows, bool xy,
                    const std::array<double, 4>& whole, std::optional<std::size_t> shown) {
    if (!chart.layout || !chart.layout->plot) return;
    PageZoom zoom;
    zoom.ranges.push_back(whole);
    std::vector<std::string_view> pictures{chart.svg};
    zoom.plots.push_back(*chart.layout->plot);
    zoom.maps.push_back({1, 0, 1, 0});
    for (const ZoomWindow& w : windows) {
        pictures.emplace_back(w.svg);
        zoom.plots.push_back(w.plot);
        zoom.ranges.push_back(w.range);
        zoom.maps.push_back(w.map);
    }
    if (pictures.size() < 2) return;
    static_cast<WindowSplit&>(zoom) = splitWindows(chart.svg, pictures);
    zoom.xy = xy;
    zoom.shown = shown ? *shown + 1 : 0;
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
            out += segment.parts[zoom.shown];
            out += "</g>\n";
        } else {
            out += segment.parts[zoom.shown];
        }
        out += segment.shared;
    }
    return out + zoom.tail;
}

void writeZoomShown(JsonWriter& json, const PageZoom& zoom) {
    const std::size_t k = zoom.shown;
    if (k == 0) return;
    json.key("zoomed").object([&] {
        json.key("k").number(static_cast<double>(k));
        json.key("m").list(zoom.maps[k], JsonWriter::Line::Same, [&](double v) { json.number(v); });
        json.key("r").list(zoom.ranges[k], JsonWriter::Line::Same,
                           [&](double v) { json.number(v); });
        json.key("plot").box(zoom.plots[k]);
    });
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
            if (k == zoom.shown) return; // the page shows its parts
            json.key("parts").list(slots, JsonWriter::Line::Same,
                                   [&](std::size_t g) { json.string(zoom.segments[g].parts[k]); });
        });
    });
    return json.text();
}

} // namespace plotara::player

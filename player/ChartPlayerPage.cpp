// The other pictures a chart's page holds, since the page has no layout engine: a scroll chart
// laid out at each start its page offers, and a line or scatter chart's zoom ladder, each as
// the desktop shows it there (docs/web.md).
#include "player/detail/ChartPlayerImpl.h"
#include "player/draw/HitList.h"
#include "player/draw/SvgCanvas.h"
#include "player/web/HtmlPage.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>

namespace plotara {

using namespace player;

namespace {

// The ladder's rungs: halves, quarters, eighths and so on of the range (scatter charts: of x
// and y at once), each window starting half its width after the one before, so any range of at
// most half a window's width lies inside one. Rungs are added while the ladder keeps within
// maxZoomWindows windows and a category window holds at least minCategories categories: a long
// line's ladder goes down to a 128th of its categories (501 windows), a scatter chart's to an
// eighth of its axes (283). The page carries the windows packed (deflatedBase64).
constexpr std::size_t maxZoomWindows = 512;
constexpr double minCategories = 4;

std::vector<std::pair<double, double>> rung(double low, double high, int parts) {
    std::vector<std::pair<double, double>> out;
    const double width = (high - low) / parts;
    for (int i = 0; i + 1 < 2 * parts; ++i)
        out.emplace_back(low + i * width / 2, low + i * width / 2 + width);
    return out;
}

std::vector<ViewRange> zoomLadder(const VisibleRange& whole, bool xy) {
    std::vector<ViewRange> out;
    for (int parts = 2;; parts *= 2) {
        const auto windows = static_cast<std::size_t>(2 * parts - 1);
        if (out.size() + (xy ? windows * windows : windows) > maxZoomWindows) break;
        if (!xy && (whole.xMax - whole.xMin) / parts + 1 < minCategories) break;
        for (const auto& x : rung(whole.xMin, whole.xMax, parts)) {
            if (!xy) {
                out.push_back({std::pair{std::round(x.first), std::round(x.second)}, {}});
            } else {
                for (const auto& y : rung(whole.yMin, whole.yMax, parts))
                    out.push_back({x, y});
            }
        }
    }
    return out;
}

// The box a path's points and arcs lie in, widened by margin on every side.
Rect boundsOf(const Path& path, double margin) {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (const PathSeg& s : path.segments()) {
        if (s.op == PathOp::Close) continue;
        x0 = std::min(x0, s.x - s.rx), x1 = std::max(x1, s.x + s.rx);
        y0 = std::min(y0, s.y - s.ry), y1 = std::max(y1, s.y + s.ry);
    }
    return {x0 - margin, y0 - margin, x1 - x0 + 2 * margin, y1 - y0 + 2 * margin};
}

// Whether a clip rectangle hides the item wholly (markers: drops the points it hides).
bool hidden(SceneItem& item, const Rect& clip) {
    if (const auto* shape = std::get_if<ShapeItem>(&item)) {
        const double margin = (shape->stroked ? shape->stroke.width : 0) + 1;
        return !shape->path.empty() && !boundsOf(shape->path, margin).overlaps(clip);
    }
    if (auto* markers = std::get_if<MarkerItem>(&item)) {
        const double r = markers->radius + markers->border.width + 1;
        std::erase_if(markers->points, [&](const Point& p) {
            return !Rect{p.x - r, p.y - r, 2 * r, 2 * r}.overlaps(clip);
        });
        return markers->points.empty();
    }
    return false;
}

// A zoom window leaves out what its plot's clip hides (the points of a scatter chart outside
// the window): the picture is the same, the page much smaller.
void dropClipped(Scene& scene) {
    std::vector<Rect> clips;
    std::vector<SceneItem> kept;
    kept.reserve(scene.items.size());
    for (SceneItem& item : scene.items) {
        if (const auto* push = std::get_if<ClipPush>(&item)) {
            clips.push_back(push->rect);
        } else if (std::holds_alternative<ClipPop>(item) && !clips.empty()) {
            clips.pop_back();
        } else if (!clips.empty() && hidden(item, clips.back())) {
            continue;
        }
        kept.push_back(std::move(item));
    }
    scene.items = std::move(kept);
}

// The range of a window the viewer zoomed to, as the page gives its windows': a scatter chart's
// as asked, a category chart's first and last category laid out (the range slid inside and
// rounded as the player shows it).
std::optional<std::array<double, 4>> shownRange(const ChartLayout& layout, const ViewRange& asked,
                                                bool scatter) {
    if (scatter) {
        if (!asked.x || !asked.y) return std::nullopt;
        return std::array{asked.x->first, asked.x->second, asked.y->first, asked.y->second};
    }
    if (layout.series.empty() || !layout.series.front().window) return std::nullopt;
    const auto [first, count] = *layout.series.front().window;
    return std::array{static_cast<double>(first), static_cast<double>(first + count - 1), 0.0, 0.0};
}

} // namespace

void ChartPlayer::Impl::addPageScroll(HtmlChart& chart, const std::string& prefix) const {
    // A zoomed scroll chart scrolls with its range's width, as on the desktop.
    std::vector<ScrollWindow> windows;
    for (std::size_t start : pageScrollStarts(view.scrollTotal - view.scrollVisible,
                                              view.scrollVisible, view.scrollStart)) {
        ViewState at = view;
        at.scrollStart = start;
        ViewOptions options = viewOptions;
        if (options.range.x) {
            const auto first = static_cast<double>(start);
            options.range.x = {first, first + static_cast<double>(view.scrollVisible) - 1};
        }
        Scene laid;
        draw(laid, 1, at, &options);
        ScrollWindow& w = windows.emplace_back();
        w.start = start;
        w.svg = writeGroupedSvgDocument(laid, *text, windowIdPrefix(prefix, start));
        w.regions = allHitRegions(laid);
        describe(w.regions);
    }
    addScrollWindows(chart, std::move(windows), view.scrollStart, view.scrollVisible,
                     view.scrollTotal);
}

void ChartPlayer::Impl::addPageZoom(HtmlChart& chart, const std::string& prefix) const {
    const bool scatter = xy();
    const VisibleRange whole =
        scatter ? wholeXY : VisibleRange{0, static_cast<double>(view.categories) - 1, 0, 0};
    const SeriesPoints points = seriesPoints(chart.regions);
    // A dense line's page carries every point: the script draws the windows' lines from them.
    const bool scriptLines = !scatter && !pointRuns(chart.regions).empty();
    const std::vector<ViewRange> ladder = zoomLadder(whole, scatter);
    Scene laid; // drawn again for each window: its lists keep their room
    // Lays the chart out at a range into laid; the map from the whole chart into it, none when
    // the whole chart's points do not map into it linearly (a window of no points).
    const auto layOut = [&](const ViewRange& range) -> std::optional<std::array<double, 4>> {
        ViewOptions options = viewOptions;
        options.range = range;
        ViewState at = view;
        if (!draw(laid, 1, at, &options) || !laid.layout.plot) return std::nullopt;
        dropClipped(laid);
        return fitZoomMap(points, laid);
    };
    // What laid shows, as page window n.
    const auto window = [&](std::size_t n, const std::array<double, 4>& map,
                            const std::array<double, 4>& range, bool linesLeft) {
        ZoomWindow w;
        w.svg = writeGroupedSvgDocument(laid, *text, zoomIdPrefix(prefix, n));
        if (linesLeft) markLinePlaceholders(w.svg);
        w.plot = *laid.layout.plot;
        w.range = range;
        w.map = map;
        return w;
    };
    // A zoomed chart's page shows the viewer's window first, whole (its lines the player's),
    // and zooms from there as from the whole chart (chart holds the whole chart's page). Without
    // that window the page does not zoom at all: it is laid out before the ladder.
    std::optional<ZoomWindow> first;
    if (!viewOptions.range.whole()) {
        const std::optional<std::array<double, 4>> map = layOut(viewOptions.range);
        const std::optional<std::array<double, 4>> range =
            map ? shownRange(laid.layout, viewOptions.range, scatter) : std::nullopt;
        if (!range) return;
        first = window(ladder.size() + 1, *map, *range, false);
    }
    std::vector<ZoomWindow> windows;
    std::size_t linesLeft = 0;
    for (const ViewRange& range : ladder) {
        const std::optional<std::array<double, 4>> map = layOut(range);
        if (!map) continue;
        const std::size_t left =
            scriptLines ? leaveOutLines(laid, points, *map, std::lround(range.x->first),
                                        std::lround(range.x->second))
                        : 0;
        linesLeft += left;
        windows.push_back(window(windows.size() + 1, *map,
                                 {range.x->first, range.x->second, range.y ? range.y->first : 0,
                                  range.y ? range.y->second : 0},
                                 left > 0));
    }
    std::optional<std::size_t> shown;
    if (first) {
        windows.push_back(std::move(*first));
        shown = windows.size() - 1;
    }
    addZoomWindows(chart, std::move(windows), scatter,
                   {whole.xMin, whole.xMax, scatter ? whole.yMin : 0, scatter ? whole.yMax : 0},
                   shown);
    if (chart.zoom) chart.zoom->scriptLines = linesLeft > 0;
}

} // namespace plotara

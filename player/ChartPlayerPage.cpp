// The other pictures a chart's page holds, since the page has no layout engine: a scroll chart
// laid out at each start its page offers, and a line or scatter chart's zoom ladder, each as
// the desktop shows it there (docs/web.md).
#include "player/detail/ChartPlayerImpl.h"
#include "player/draw/HitList.h"
#include "player/draw/SvgCanvas.h"
#include "player/web/HtmlPage.h"

#include <cmath>

namespace plotara {

using namespace player;

namespace {

// The ladder's rungs: halves, quarters and eighths of the range (scatter charts: halves and
// quarters of x and y at once), each window starting half its width after the one before, so
// any range of at most half a window's width lies inside one. Category windows hold at least
// minCategories categories.
constexpr int ladderRungs = 3, xyLadderRungs = 2;
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
    for (int level = 1, parts = 2; level <= (xy ? xyLadderRungs : ladderRungs);
         ++level, parts *= 2) {
        if (!xy && (whole.xMax - whole.xMin) / parts + 1 < minCategories) break;
        for (const auto& x : rung(whole.xMin, whole.xMax, parts)) {
            if (!xy) out.push_back({std::pair{std::round(x.first), std::round(x.second)}, {}});
            if (!xy) continue;
            for (const auto& y : rung(whole.yMin, whole.yMax, parts))
                out.push_back({x, y});
        }
    }
    return out;
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
        for (HitRegion& r : w.regions)
            describe(r);
    }
    addScrollWindows(chart, std::move(windows), view.scrollStart, view.scrollVisible,
                     view.scrollTotal);
}

void ChartPlayer::Impl::addPageZoom(HtmlChart& chart, const std::string& prefix) const {
    const bool scatter = xy();
    const VisibleRange whole =
        scatter ? wholeXY : VisibleRange{0, static_cast<double>(view.categories) - 1, 0, 0};
    std::vector<ZoomWindow> windows;
    for (const ViewRange& range : zoomLadder(whole, scatter)) {
        ViewOptions options = viewOptions;
        options.range = range;
        ViewState at = view;
        Scene laid;
        if (!draw(laid, 1, at, &options) || !laid.layout.plot) continue;
        ZoomWindow& w = windows.emplace_back();
        w.svg = writeGroupedSvgDocument(laid, *text, zoomIdPrefix(prefix, windows.size()));
        w.plot = *laid.layout.plot;
        w.range = {range.x->first, range.x->second, range.y ? range.y->first : 0,
                   range.y ? range.y->second : 0};
        w.regions = allHitRegions(laid);
    }
    addZoomWindows(chart, std::move(windows), scatter,
                   {whole.xMin, whole.xMax, scatter ? whole.yMin : 0, scatter ? whole.yMax : 0});
}

} // namespace plotara

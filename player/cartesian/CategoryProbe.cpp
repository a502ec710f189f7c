#include "player/cartesian/CategoryProbe.h"

#include "player/detail/Families.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

namespace {

// The categories shown: the layout's window, else every category of the document.
std::pair<std::size_t, std::size_t> shownWindow(const ChartModel& m, const ChartLayout& layout) {
    for (const LayoutSeries& s : layout.series) {
        if (s.window) return *s.window;
    }
    std::size_t n = m.categories.size();
    for (const auto* list : {&m.datasets, &m.linesets}) {
        for (const Series& s : *list)
            n = std::max(n, s.points.size());
    }
    return {0, n};
}

} // namespace

std::optional<CategoryProbe> probeCategory(const ChartModel& m, const ChartLayout& layout,
                                           bool dualY, const SeriesFilter& hidden, Point at) {
    if (!layout.plot || !layout.plot->contains(at)) return std::nullopt;
    const auto [first, count] = shownWindow(m, layout);
    if (count == 0) return std::nullopt;
    const Rect& plot = *layout.plot;
    const double slot = plot.w / static_cast<double>(count);
    const double offset = std::floor((at.x - plot.x) / slot);
    CategoryProbe probe;
    probe.index =
        first + static_cast<std::size_t>(std::clamp(offset, 0.0, static_cast<double>(count - 1)));
    probe.x = plot.x + (static_cast<double>(probe.index - first) + 0.5) * slot;
    probe.plot = plot;
    int index = 0;
    for (const auto* list : {&m.datasets, &m.linesets}) {
        for (const Series& s : *list) {
            const int series = index++;
            if (hidden.hides(series) || probe.index >= s.points.size() ||
                isMissing(s.points[probe.index].value))
                continue;
            HitRegion point;
            point.kind = HitKind::Category;
            point.seriesIndex = series;
            point.pointIndex = static_cast<int>(probe.index);
            point.rect = {probe.x, plot.y, 0, plot.h};
            point.lazyText = true;
            describeCategoryPoints(m, dualY, {&point, 1});
            probe.points.push_back(std::move(point));
        }
    }
    return probe;
}

} // namespace plotara::player

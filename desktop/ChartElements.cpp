#include "desktop/ChartElements.h"

#include "desktop/QtText.h"
#include "player/ElementName.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

namespace plotara::qt {

namespace {

using Key = std::tuple<int, int, player::HitKind, String>; // series, point, kind, label

Key keyOf(const HitInfo& hit) {
    return Key{hit.seriesIndex, hit.pointIndex, hit.kind, hit.label};
}

struct Region {
    HitInfo info;  // the topmost region of the element
    QRectF bounds; // the union of its boxes
};

// A point inside the element that the hit test finds there (the element is not covered there):
// the region's anchor, else the box centre or the middle of one of its quarters. Nothing when
// none of them answers for the element.
std::optional<QPointF> anchorOf(WindowPlayer& player, const Key& key, const HitInfo& info,
                                const QRectF& box, QSize size) {
    const auto answers = [&](const QPointF& p) {
        if (p.x() < 0 || p.y() < 0 || p.x() >= size.width() || p.y() >= size.height()) return false;
        const HitInfo hit = player.hoverAt(p.x(), p.y());
        return hit.hit && keyOf(hit) == key;
    };
    const double w = box.width() / 4, h = box.height() / 4;
    const QPointF c = box.center();
    for (const QPointF p : {QPointF(info.anchor.x, info.anchor.y), c, c + QPointF(-w, -h),
                            c + QPointF(w, -h), c + QPointF(-w, h), c + QPointF(w, h)})
        if (answers(p)) return p;
    return std::nullopt;
}

} // namespace

QString ChartElement::accessibleName() const {
    return toQString(elementName(info.label, info.value, info.toolText));
}

std::vector<ChartElement> findChartElements(WindowPlayer& player, QSize size) {
    player.settle();
    // The regions come bottom to top: a later one of the same element is drawn over the earlier.
    std::map<Key, Region> found;
    for (HitInfo& hit : player.player().hitRegions()) {
        const QRectF box(hit.box.x, hit.box.y, hit.box.w, hit.box.h);
        const auto [at, added] = found.try_emplace(keyOf(hit), Region{HitInfo{}, box});
        if (!added) at->second.bounds = at->second.bounds.united(box);
        at->second.info = std::move(hit);
    }
    const QRectF client(QPointF(0, 0), QSizeF(size));
    std::vector<ChartElement> elements;
    for (auto& [key, region] : found) {
        // A box without area (a marker of no size) stays where it is; the rest is clipped to
        // the client area.
        const QRectF bounds =
            region.bounds.isEmpty() ? region.bounds : region.bounds.intersected(client);
        const auto anchor = anchorOf(player, key, region.info, bounds, size);
        if (!anchor) continue;
        ChartElement element{std::move(region.info), bounds, *anchor};
        const ChartPlayer& chart = player.player();
        element.checkable = element.info.kind == player::HitKind::Legend && chart.legendToggles();
        element.checked = element.checkable && chart.seriesVisible(element.info.seriesIndex);
        elements.push_back(std::move(element));
    }
    // Plot elements (series and point known) first, in series and point order; the rest after.
    std::stable_sort(elements.begin(), elements.end(), [](const auto& a, const auto& b) {
        const bool aPlot = a.info.pointIndex >= 0, bPlot = b.info.pointIndex >= 0;
        if (aPlot != bPlot) return aPlot;
        if (a.info.seriesIndex != b.info.seriesIndex)
            return a.info.seriesIndex < b.info.seriesIndex;
        if (a.info.pointIndex != b.info.pointIndex) return a.info.pointIndex < b.info.pointIndex;
        return a.anchor.x() < b.anchor.x();
    });
    return elements;
}

} // namespace plotara::qt

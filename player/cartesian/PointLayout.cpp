// Offering laid-out value labels and adding hit circles for line and area points.
#include "player/cartesian/PointLayout.h"

#include "player/cartesian/SeriesDrawing.h"

namespace plotara::player {

std::optional<std::string> pointLabel(const PlotSeries& s, std::size_t i, const NumberFormat& fmt) {
    const Attributes* pa =
        s.source && i < s.source->points.size() ? &s.source->points[i].attrs : nullptr;
    if (!s.showValues || (pa && !pa->flag("showvalue", true))) return std::nullopt;
    if (pa && pa->has("displayvalue")) return pa->text("displayvalue");
    return fmt.format(s.values[i]);
}

void offer(ValueLabels& values, const ValueOffer& o) {
    values.place(o.tag, o.text, o.x, o.y, o.h, o.v, 0, nullptr, o.priority);
}

void addSpot(ChartContext& ctx, const PointSpot& spot, HitKind kind) {
    const PlotSeries& s = *spot.series;
    const std::string* link = s.source && spot.index < s.source->points.size()
                                  ? s.source->points[spot.index].attrs.find("link")
                                  : nullptr;
    if (!link || link->empty()) {
        // What markPoint makes of a point without a link, stored without making the region.
        ctx.scene.hits.pushLazyCircle(spot.at, spot.radius, kind, s.index,
                                      static_cast<int>(spot.index));
        return;
    }
    HitRegion hit;
    hit.shape = HitRegion::Shape::Circle;
    hit.center = spot.at;
    hit.radius = spot.radius;
    hit.kind = kind;
    markPoint(hit, *spot.series, spot.index);
    ctx.scene.hits.push_back(std::move(hit));
}

} // namespace plotara::player

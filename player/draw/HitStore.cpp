#include "player/draw/HitStore.h"

#include <algorithm>

namespace plotara::player {

namespace {

// Whether a region can be a compact entry: one point's rectangle or circle whose texts are left
// to be worked out, with nothing else to remember.
bool compactable(const HitRegion& r) {
    return (r.shape == HitRegion::Shape::Rect || r.shape == HitRegion::Shape::Circle) &&
           r.lazyText && r.series.empty() && r.label.empty() && r.value.empty() &&
           r.toolText.empty() && r.link.empty() && r.polygon.empty();
}

} // namespace

void HitStore::push_back(HitRegion region) {
    Entry e{};
    e.seriesIndex = region.seriesIndex;
    e.pointIndex = region.pointIndex;
    e.shape = static_cast<std::uint8_t>(region.shape);
    e.whole = noWhole;
    std::size_t kind = kinds_.size();
    if (compactable(region)) {
        kind = static_cast<std::size_t>(std::find(kinds_.begin(), kinds_.end(), region.kind) -
                                        kinds_.begin());
        if (kind == kinds_.size() && kinds_.size() < 255) kinds_.push_back(region.kind);
    }
    if (kind < kinds_.size()) {
        e.kind = static_cast<std::uint8_t>(kind);
        if (region.shape == HitRegion::Shape::Rect) {
            e.a = region.rect.x;
            e.b = region.rect.y;
            e.c = region.rect.w;
            e.d = region.rect.h;
        } else {
            e.a = region.center.x;
            e.b = region.center.y;
            e.c = region.radius;
        }
    } else {
        e.whole = static_cast<std::uint32_t>(whole_.size());
        whole_.push_back(std::move(region));
    }
    entries_.push_back(e);
}

void HitStore::reserve(std::size_t n) {
    entries_.reserve(n);
}

void HitStore::clear() {
    entries_.clear();
    whole_.clear();
    kinds_.clear();
}

HitRegion HitStore::operator[](std::size_t i) const {
    const Entry& e = entries_[i];
    if (e.whole != noWhole) return whole_[e.whole];
    HitRegion r;
    r.shape = static_cast<HitRegion::Shape>(e.shape);
    if (r.shape == HitRegion::Shape::Rect) {
        r.rect = {e.a, e.b, e.c, e.d};
    } else {
        r.center = {e.a, e.b};
        r.radius = e.c;
    }
    r.kind = kinds_[e.kind];
    r.seriesIndex = e.seriesIndex;
    r.pointIndex = e.pointIndex;
    r.lazyText = true;
    return r;
}

bool HitStore::contains(std::size_t i, Point p) const {
    const Entry& e = entries_[i];
    if (e.whole != noWhole) return whole_[e.whole].contains(p);
    if (static_cast<HitRegion::Shape>(e.shape) == HitRegion::Shape::Rect)
        return Rect{e.a, e.b, e.c, e.d}.contains(p);
    const double dx = p.x - e.a, dy = p.y - e.b;
    return dx * dx + dy * dy <= e.c * e.c;
}

} // namespace plotara::player

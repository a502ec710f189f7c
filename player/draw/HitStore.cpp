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

constexpr std::size_t rectCoords = 4, circleCoords = 2;

template <class Segment>
std::size_t coordsOf(const Segment& s) {
    if (static_cast<HitRegion::Shape>(s.shape) == HitRegion::Shape::Rect) return rectCoords;
    return s.radii ? circleCoords + 1 : circleCoords;
}

} // namespace

// Whether an entry continues the last run. A run of one circle whose next circle has another
// radius becomes a run whose circles each keep their radius.
bool HitStore::extendsLastRun(const Compact& entry) {
    if (segments_.empty()) return false;
    Segment& last = segments_.back();
    const bool follows =
        !last.whole && last.shape == static_cast<std::uint8_t>(entry.shape) &&
        last.kind == entry.kind && last.seriesIndex == entry.seriesIndex &&
        static_cast<long long>(last.firstPoint) + static_cast<long long>(last.count) ==
            entry.pointIndex;
    if (!follows || entry.shape == HitRegion::Shape::Rect || last.radii) return follows;
    if (last.radius == entry.radius) return true;
    if (last.count > 1) return false;
    last.radii = true;
    coords_.push_back(last.radius);
    return true;
}

void HitStore::pushCompact(const Compact& entry) {
    if (extendsLastRun(entry)) {
        ++segments_.back().count;
    } else {
        Segment s;
        s.first = size_;
        s.data = coords_.size();
        s.radius = entry.shape == HitRegion::Shape::Circle ? entry.radius : 0.0;
        s.seriesIndex = entry.seriesIndex;
        s.firstPoint = entry.pointIndex;
        s.shape = static_cast<std::uint8_t>(entry.shape);
        s.kind = entry.kind;
        s.whole = false;
        segments_.push_back(s);
    }
    if (entry.shape == HitRegion::Shape::Rect) {
        coords_.insert(coords_.end(), {entry.rect.x, entry.rect.y, entry.rect.w, entry.rect.h});
    } else {
        coords_.insert(coords_.end(), {entry.center.x, entry.center.y});
        if (segments_.back().radii) coords_.push_back(entry.radius);
    }
    ++size_;
}

void HitStore::push_back(HitRegion region) {
    if (!compactable(region)) {
        Segment s;
        s.first = size_;
        s.data = whole_.size();
        segments_.push_back(s);
        whole_.push_back(std::move(region));
        ++size_;
        return;
    }
    pushCompact({region.shape, region.kind, region.seriesIndex, region.pointIndex, region.rect,
                 region.center, region.radius});
}

void HitStore::pushLazyCircle(Point center, double radius, HitKind kind, int seriesIndex,
                              int pointIndex) {
    pushCompact({HitRegion::Shape::Circle, kind, seriesIndex, pointIndex, {}, center, radius});
}

void HitStore::reserve(std::size_t rects, std::size_t circles) {
    coords_.reserve(coords_.size() + rects * rectCoords + circles * circleCoords);
}

void HitStore::clear() {
    segments_.clear();
    coords_.clear();
    whole_.clear();
    size_ = 0;
}

std::size_t HitStore::segmentOf(std::size_t i) const {
    auto it = std::upper_bound(segments_.begin(), segments_.end(), i,
                               [](std::size_t index, const Segment& s) { return index < s.first; });
    return static_cast<std::size_t>(it - segments_.begin()) - 1;
}

// Fills a fresh region with the run's k-th entry.
void HitStore::fillRunRegion(const Segment& s, std::size_t k, HitRegion& r) const {
    const double* c = coords_.data() + s.data + k * coordsOf(s);
    r.shape = static_cast<HitRegion::Shape>(s.shape);
    if (r.shape == HitRegion::Shape::Rect) {
        r.rect = {c[0], c[1], c[2], c[3]};
    } else {
        r.center = {c[0], c[1]};
        r.radius = s.radii ? c[2] : s.radius;
    }
    r.kind = s.kind;
    r.seriesIndex = s.seriesIndex;
    r.pointIndex = static_cast<int>(s.firstPoint + static_cast<long long>(k));
    r.lazyText = true;
}

HitRegion HitStore::runRegion(const Segment& s, std::size_t k) const {
    HitRegion r;
    fillRunRegion(s, k, r);
    return r;
}

void HitStore::appendRegions(std::vector<HitRegion>& out, std::size_t begin,
                             std::size_t end) const {
    end = std::min(end, size_);
    if (begin >= end) return;
    for (std::size_t n = segmentOf(begin); n < segments_.size(); ++n) {
        const Segment& s = segments_[n];
        if (s.first >= end) break;
        if (s.whole) {
            out.push_back(whole_[s.data]);
            continue;
        }
        const std::size_t from = std::max(begin, s.first) - s.first;
        const std::size_t to = std::min(end, s.first + s.count) - s.first;
        for (std::size_t k = from; k < to; ++k)
            fillRunRegion(s, k, out.emplace_back());
    }
}

bool HitStore::runContains(const Segment& s, std::size_t k, Point p) const {
    const double* c = coords_.data() + s.data + k * coordsOf(s);
    if (static_cast<HitRegion::Shape>(s.shape) == HitRegion::Shape::Rect)
        return Rect{c[0], c[1], c[2], c[3]}.contains(p);
    const double dx = p.x - c[0], dy = p.y - c[1];
    const double r = s.radii ? c[2] : s.radius;
    return dx * dx + dy * dy <= r * r;
}

HitRegion HitStore::operator[](std::size_t i) const {
    const Segment& s = segments_[segmentOf(i)];
    if (s.whole) return whole_[s.data];
    return runRegion(s, i - s.first);
}

bool HitStore::contains(std::size_t i, Point p) const {
    const Segment& s = segments_[segmentOf(i)];
    if (s.whole) return whole_[s.data].contains(p);
    return runContains(s, i - s.first, p);
}

long HitStore::lastContaining(Point p) const {
    for (std::size_t n = segments_.size(); n-- > 0;) {
        const Segment& s = segments_[n];
        if (s.whole) {
            if (whole_[s.data].contains(p)) return static_cast<long>(s.first);
            continue;
        }
        for (std::size_t k = s.count; k-- > 0;) {
            if (runContains(s, k, p)) return static_cast<long>(s.first + k);
        }
    }
    return -1;
}

} // namespace plotara::player

#include "player/draw/HitAnchor.h"

#include "player/draw/HitList.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotara::player {

namespace {

// The middle of the widest inside span of a polygon along the line at y, by the even-odd rule
// that HitRegion::contains follows.
Point polygonAnchor(const std::vector<Point>& polygon, double y, Point fallback) {
    std::vector<double> crossings;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > y) != (b.y > y))
            crossings.push_back((b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x);
    }
    std::sort(crossings.begin(), crossings.end());
    Point best = fallback;
    double widest = -1;
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        if (crossings[i + 1] - crossings[i] <= widest) continue;
        widest = crossings[i + 1] - crossings[i];
        best = {(crossings[i] + crossings[i + 1]) / 2, y};
    }
    return best;
}

} // namespace

Point anchorOf(const HitRegion& region) {
    const Rect box = boundsOf(region);
    const Point middle{box.x + box.w / 2, box.y + box.h / 2};
    switch (region.shape) {
    case HitRegion::Shape::Rect:
    case HitRegion::Shape::Circle:
        return middle;
    case HitRegion::Shape::Polygon:
        if (region.polygon.size() < 3) return middle;
        return polygonAnchor(region.polygon, middle.y, middle);
    case HitRegion::Shape::Wedge: {
        const double angle = (region.a0 + region.a1) / 2;
        const double r = (region.inner + region.radius) / 2;
        const double yScale = region.yScale > 0 ? region.yScale : 1;
        return {region.center.x + std::cos(angle) * r,
                region.center.y + std::sin(angle) * r * yScale};
    }
    }
    return middle;
}

} // namespace plotara::player

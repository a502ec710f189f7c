#include "player/draw/HitList.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotara::player {

namespace {

Rect circleBox(Point c, double r) {
    return {c.x - r, c.y - r, 2 * r, 2 * r};
}

Rect pointsBox(const std::vector<Point>& points) {
    if (points.empty()) return {};
    double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

// The wedge's extreme points: both ends of both arcs and every quarter turn the arc passes.
Rect wedgeBox(const HitRegion& w) {
    const double yScale = w.yScale > 0 ? w.yScale : 1;
    auto at = [&](double r, double a) {
        return Point{w.center.x + r * std::cos(a), w.center.y + r * std::sin(a) * yScale};
    };
    std::vector<Point> points;
    const double end = std::min(w.a1, w.a0 + 2 * std::numbers::pi);
    for (double r : {w.radius, w.inner}) {
        if (r <= 0) {
            points.push_back(w.center);
            continue;
        }
        points.push_back(at(r, w.a0));
        points.push_back(at(r, end));
        const double quarter = std::numbers::pi / 2;
        for (double a = std::ceil(w.a0 / quarter) * quarter; a < end; a += quarter)
            points.push_back(at(r, a));
    }
    return pointsBox(points);
}

} // namespace

Rect boundsOf(const HitRegion& region) {
    switch (region.shape) {
    case HitRegion::Shape::Rect:
        return region.rect;
    case HitRegion::Shape::Circle:
        return circleBox(region.center, region.radius);
    case HitRegion::Shape::Polygon:
        return pointsBox(region.polygon);
    case HitRegion::Shape::Wedge:
        return wedgeBox(region);
    }
    return {};
}

std::vector<HitRegion> allHitRegions(const Scene& scene) {
    const PointHits& points = scene.pointHits;
    std::vector<HitRegion> out;
    out.reserve(scene.hits.size() + points.size());
    const auto& sets = points.sets();
    // Each set of points comes after the regions drawn before it.
    std::size_t drawn = 0;
    for (std::size_t set = 0; set < sets.size(); ++set) {
        const std::size_t order = std::min(sets[set].order, scene.hits.size());
        scene.hits.appendRegions(out, drawn, order);
        drawn = std::max(drawn, order);
        const std::size_t end = set + 1 < sets.size() ? sets[set + 1].begin : points.size();
        for (std::size_t e = sets[set].begin; e < end; ++e)
            out.push_back(pointRegion(points, e));
    }
    scene.hits.appendRegions(out, drawn, scene.hits.size());
    return out;
}

} // namespace plotara::player

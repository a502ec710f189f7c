// A region of a drawn chart that answers clickAt and hoverAt, with the texts a host is told.
#pragma once

#include "player/draw/Geometry.h"
#include "player/draw/HitKind.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plotara::player {

// A region that answers clickAt and hoverAt.
struct HitRegion {
    enum class Shape : std::uint8_t { Rect, Polygon, Circle, Wedge };

    // What a pass over a dense page's points reads lies in the first cache line.
    Shape shape = Shape::Rect;
    HitKind kind = HitKind::None;
    bool lazyText = false; // label, value and tool text are worked out when asked (XY points)
    int seriesIndex = -1, pointIndex = -1;
    Point center;                                             // Circle, Wedge
    double radius = 0, inner = 0, yScale = 1, a0 = 0, a1 = 0; // Wedge angles clockwise, radians
    Rect rect;                                                // Rect
    std::vector<Point> polygon;                               // Polygon
    std::string series, label, value, toolText, link;

    bool contains(Point p) const;
};

} // namespace plotara::player

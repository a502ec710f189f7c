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

    Shape shape = Shape::Rect;
    Rect rect;                                                // Rect
    std::vector<Point> polygon;                               // Polygon
    Point center;                                             // Circle, Wedge
    double radius = 0, inner = 0, yScale = 1, a0 = 0, a1 = 0; // Wedge angles clockwise, radians
    HitKind kind = HitKind::None;
    std::string series, label, value, toolText, link;
    int seriesIndex = -1, pointIndex = -1;
    bool lazyText = false; // label, value and tool text are worked out when asked (XY points)

    bool contains(Point p) const;
};

} // namespace plotara::player

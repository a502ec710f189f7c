// What a hit region of a drawn chart is: a column, a legend entry, a scroll button, ...
#pragma once

#include <cstdint>

namespace plotara::player {

enum class HitKind : std::uint8_t {
    None,
    Column,
    Bar,
    Anchor, // a line's point
    Point,  // a scatter point
    Area,
    Slice,
    Bubble,
    Row,      // a grid chart's row
    Legend,   // a legend entry
    Category, // a series' value at a crosshair's category
    ScrollLeft,
    ScrollRight,
    ScrollTrack
};

// The kind's name as hosts and dumps show it ("column", "scroll-left", ...; "" for None).
constexpr const char* kindName(HitKind kind) noexcept {
    switch (kind) {
    case HitKind::None:
        return "";
    case HitKind::Column:
        return "column";
    case HitKind::Bar:
        return "bar";
    case HitKind::Anchor:
        return "anchor";
    case HitKind::Point:
        return "point";
    case HitKind::Area:
        return "area";
    case HitKind::Slice:
        return "slice";
    case HitKind::Bubble:
        return "bubble";
    case HitKind::Row:
        return "row";
    case HitKind::Legend:
        return "legend";
    case HitKind::Category:
        return "category";
    case HitKind::ScrollLeft:
        return "scroll-left";
    case HitKind::ScrollRight:
        return "scroll-right";
    case HitKind::ScrollTrack:
        return "scroll-track";
    }
    return "";
}

// Whether the kind is a part of a scroll chart's scroll bar.
constexpr bool isScroll(HitKind kind) noexcept {
    return kind == HitKind::ScrollLeft || kind == HitKind::ScrollRight ||
           kind == HitKind::ScrollTrack;
}

} // namespace plotara::player

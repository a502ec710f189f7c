// What the line and area layouts decide for each point: its hit circle and its value label's
// offer, kept as plain data that the drawing step walks onto the scene.
#pragma once

#include "player/cartesian/PlotGeometry.h"
#include "player/layout/Frame.h"

#include <optional>
#include <string>

namespace plotara::player {

// A value label to offer at a point: its text, anchor, alignment and priority.
struct ValueOffer {
    TextTag tag;
    std::string text;
    double x = 0, y = 0;
    HAlign h = HAlign::Center;
    VAlign v = VAlign::Bottom;
    double priority = 0;
};

// A point's hit circle: the series and position it answers for.
struct PointSpot {
    const PlotSeries* series = nullptr;
    std::size_t index = 0;
    Point at;
    double radius = 5;
};

// The label a point shows: its displayvalue, else its value in the series' axis format;
// nullopt when the series or the point hides it. Cannot fail.
std::optional<std::string> pointLabel(const PlotSeries& s, std::size_t i, const NumberFormat& fmt);

// Offers a laid-out label to the collision-avoiding placement. Cannot fail.
void offer(ValueLabels& values, const ValueOffer& o);

// Adds a point's hit circle of the given kind ("anchor", "point") to the scene. Cannot fail.
void addSpot(ChartContext& ctx, const PointSpot& spot, HitKind kind);

} // namespace plotara::player

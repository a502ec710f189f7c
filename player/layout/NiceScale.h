// Value axes with round ticks.
#pragma once

#include <optional>

namespace plotara::player {

struct AxisScale {
    double min = 0, max = 1, step = 0.25;
    int divisions = 4; // intervals between min and max

    // The position of a value on the axis, 0 at min and 1 at max (not clamped). Cannot fail.
    double fraction(double v) const { return max > min ? (v - min) / (max - min) : 0; }
    double tick(int i) const { return i == divisions ? max : min + step * i; }
};

struct ScaleRequest {
    double dataMin = 0, dataMax = 0; // the values to show (finite)
    bool includeZero = true;         // columns and areas start at zero
    std::optional<int> numDivLines;  // interior lines asked for; divisions = n + 1
    std::optional<double> userMin, userMax;
};

// Round ticks covering the data: steps of 1, 2, 2.5 or 5 times a power of ten; the user's
// limits win when they make sense (max > min). Cannot fail; non-finite input gives 0 to 1.
AxisScale niceScale(const ScaleRequest& request);

// When both axes (the two of a dual-axis chart) have zero inside, widens them to the same number
// of steps below and above zero so that zero sits on the same tick of both; an axis that does
// not reach zero keeps its range. Cannot fail.
void alignZero(AxisScale& primary, AxisScale& secondary);

} // namespace plotara::player

// Value axes with round ticks.
#pragma once

#include <cmath>
#include <optional>

namespace plotara::player {

struct AxisScale {
    double min = 0, max = 1, step = 0.25; // a logarithmic axis: step is the ratio of two ticks
    int divisions = 4;                    // intervals between min and max
    bool log = false;

    // The position of a value on the axis, 0 at min and 1 at max (not clamped; on a logarithmic
    // axis minus infinity for zero and NaN for negative values). Cannot fail.
    double fraction(double v) const {
        if (log) return max > min && min > 0 ? std::log(v / min) / std::log(max / min) : 0;
        return max > min ? (v - min) / (max - min) : 0;
    }
    double tick(int i) const {
        if (i == divisions) return max;
        return log ? min * std::pow(step, i) : min + step * i;
    }
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

// A logarithmic axis over the positive values lo to hi: limits at powers of the base (a decade
// or more between ticks so that at most 12 intervals remain); the user's positive limits win.
// Cannot fail; a base below 2 (or not finite) is 10, bad ranges give 1 to base.
AxisScale logScale(double lo, double hi, double base, std::optional<double> userMin = {},
                   std::optional<double> userMax = {});

// When both axes (the two of a dual-axis chart) have zero inside, widens them to the same number
// of steps below and above zero so that zero sits on the same tick of both; an axis that does
// not reach zero keeps its range. Cannot fail.
void alignZero(AxisScale& primary, AxisScale& secondary);

} // namespace plotara::player

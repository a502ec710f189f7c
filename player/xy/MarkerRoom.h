// Room at the ends of the axes of scatter and bubble charts for their markers: the limits at
// which every anchor and bubble lies whole inside the plot.
#pragma once

#include "player/layout/NiceScale.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace plotara::player {

// A value in the units the axis is linear in: its logarithm on a logarithmic axis. Cannot fail;
// a value that is not positive gives -inf or NaN on a logarithmic axis.
double axisUnits(const AxisScale& a, double v);
// A value from axis units (the inverse of axisUnits). Cannot fail.
double fromAxisUnits(const AxisScale& a, double u);

// Widens the range asked of an axis to take in lo to hi (axis units) on each side whose limit
// the document leaves open; true when it changed. Cannot fail; lo > hi changes nothing.
bool widenRange(ScaleRequest& r, const AxisScale& a, double lo, double hi);

// The limits (axis units) at which every marker lies whole on an axis `pixels` long. For a span
// S a marker at u with a radius of r pixels needs the axis to reach from u - r S / pixels to
// u + r S / pixels; the span needed is the smallest S those reaches fit in. As the reaches grow
// with S, S is found by Newton steps on the convex excess (reach - S) from `span`, the current
// one; the steps stop at once when it suffices. A limit the document set (fixedLo, fixedHi)
// stays where it is. A radius counts at most 45 % of the axis, so any two markers fit.
// forEach(visit) calls visit(u, r) for every marker drawn. Cannot fail; lo > hi when there is
// no marker.
template <class ForEach>
std::pair<double, double> markerLimits(ForEach forEach, double pixels, double span,
                                       std::optional<double> fixedLo,
                                       std::optional<double> fixedHi) {
    double lo = 0, hi = 0;
    for (int step = 0; step < 30; ++step) {
        double scale = span / pixels, rLo = 0, rHi = 0;
        lo = 1e308, hi = -1e308;
        forEach([&](double u, double r) {
            r = std::min(r, pixels * 0.45);
            if (u - r * scale < lo) lo = u - r * scale, rLo = r;
            if (u + r * scale > hi) hi = u + r * scale, rHi = r;
        });
        if (lo > hi) break;
        if (fixedLo) lo = *fixedLo, rLo = 0;
        if (fixedHi) hi = *fixedHi, rHi = 0;
        double excess = hi - lo - span;
        if (excess <= span * 1e-9) break;
        span -= excess / ((rLo + rHi) / pixels - 1);
    }
    return {lo, hi};
}

} // namespace plotara::player

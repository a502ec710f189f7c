#include "player/xy/MarkerRoom.h"

#include <cmath>

namespace plotara::player {

double axisUnits(const AxisScale& a, double v) {
    return a.log ? std::log(v) : v;
}

double fromAxisUnits(const AxisScale& a, double u) {
    return a.log ? std::exp(u) : u;
}

bool widenRange(ScaleRequest& r, const AxisScale& a, double lo, double hi) {
    if (lo > hi) return false;
    double curLo = axisUnits(a, a.min), curHi = axisUnits(a, a.max);
    double eps = (curHi - curLo) * 1e-9;
    bool changed = false;
    if (!r.userMin && lo < curLo - eps) {
        r.dataMin = std::min(r.dataMin, fromAxisUnits(a, lo));
        changed = true;
    }
    if (!r.userMax && hi > curHi + eps) {
        r.dataMax = std::max(r.dataMax, fromAxisUnits(a, hi));
        changed = true;
    }
    return changed;
}

} // namespace plotara::player

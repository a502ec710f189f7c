#include "player/layout/NiceScale.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace plotara::player {

namespace {
// With a fixed number of divisions, quarter steps (1.25, 4) waste less of the axis.
double niceStep(double raw, bool fixedCount) {
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    double mag = std::pow(10.0, std::floor(std::log10(raw)));
    static constexpr double freeSteps[] = {1.0, 2.0, 2.5, 5.0, 10.0};
    static constexpr double fixedSteps[] = {1.0, 1.25, 2.0, 2.5, 4.0, 5.0, 10.0};
    for (double m :
         fixedCount ? std::span<const double>(fixedSteps) : std::span<const double>(freeSteps)) {
        if (m * mag >= raw * (1 - 1e-9)) return m * mag;
    }
    return 10 * mag;
}
} // namespace

AxisScale niceScale(const ScaleRequest& r) {
    AxisScale s;
    double lo = r.dataMin, hi = r.dataMax;
    if (!std::isfinite(lo) || !std::isfinite(hi)) lo = 0, hi = 1;
    if (lo > hi) std::swap(lo, hi);
    if (r.includeZero) {
        lo = std::min(lo, 0.0);
        hi = std::max(hi, 0.0);
    }
    int wanted = r.numDivLines ? std::clamp(*r.numDivLines, 0, 50) + 1 : 5;
    bool userLo = r.userMin && std::isfinite(*r.userMin);
    bool userHi = r.userMax && std::isfinite(*r.userMax);
    if (userLo) lo = *r.userMin;
    if (userHi) hi = *r.userMax;
    if (userLo && userHi && hi > lo) {
        s.min = lo;
        s.max = hi;
        s.divisions = wanted;
        s.step = (hi - lo) / wanted;
        return s;
    }
    if (hi <= lo) {
        double pad = lo == 0 ? 1 : std::fabs(lo) * 0.1;
        if (!userHi)
            hi = lo + pad;
        else
            lo = hi - pad;
    }
    bool fixedCount = r.numDivLines.has_value();
    double step = niceStep((hi - lo) / wanted, fixedCount);
    for (int attempt = 0; attempt < 8; ++attempt) {
        double mn = userLo ? lo : std::floor(lo / step) * step;
        double mx = userHi ? hi : std::ceil(hi / step) * step;
        if (r.numDivLines && !userHi) mx = mn + step * wanted;
        if (r.numDivLines && userHi && !userLo) mn = mx - step * wanted;
        if (mx >= hi - 1e-12 * std::fabs(hi) && mn <= lo + 1e-12 * std::fabs(lo) && mx > mn) {
            s.min = mn;
            s.max = mx;
            s.step = step;
            s.divisions = std::clamp(static_cast<int>(std::lround((mx - mn) / step)), 1, 200);
            if (userLo || userHi) s.step = (mx - mn) / s.divisions;
            return s;
        }
        step = niceStep(step * 1.0001, fixedCount);
    }
    s.min = lo;
    s.max = hi;
    s.divisions = wanted;
    s.step = (hi - lo) / wanted;
    return s;
}

AxisScale logScale(double lo, double hi, double base, std::optional<double> userMin,
                   std::optional<double> userMax) {
    if (!(base >= 2) || !std::isfinite(base)) base = 10;
    bool ownMin = userMin && *userMin > 0 && std::isfinite(*userMin);
    bool ownMax = userMax && *userMax > 0 && std::isfinite(*userMax);
    if (ownMin) lo = *userMin;
    if (ownMax) hi = *userMax;
    if (!(lo > 0) || !std::isfinite(lo) || !std::isfinite(hi) || hi < lo) {
        lo = 1, hi = base;
        ownMin = ownMax = false;
    }
    double lb = std::log(base);
    double e0 = std::floor(std::log(lo) / lb + 1e-9);
    double e1 = std::ceil(std::log(hi) / lb - 1e-9);
    if (e1 <= e0) e1 = e0 + 1;
    double per = std::ceil((e1 - e0) / 12); // powers of the base between two ticks
    e1 = e0 + std::ceil((e1 - e0) / per) * per;
    AxisScale s;
    s.log = true;
    s.min = ownMin ? lo : std::pow(base, e0);
    s.max = ownMax ? hi : std::pow(base, e1);
    if (!(s.max > s.min)) s.max = s.min * base;
    s.divisions = std::max(1, static_cast<int>(std::lround((e1 - e0) / per)));
    s.step = ownMin || ownMax ? std::pow(s.max / s.min, 1.0 / s.divisions) : std::pow(base, per);
    return s;
}

void alignZero(AxisScale& p, AxisScale& q) {
    auto crosses = [](const AxisScale& a) { return a.min < 0 && a.max > 0 && a.step > 0; };
    if (!crosses(p) || !crosses(q)) return; // an axis without zero inside keeps its own range
    // Steps below and above zero on each axis; both axes get the larger counts, so zero falls
    // on the same tick and every tick stays a round multiple of its axis' step.
    auto below = [](const AxisScale& a) { return std::ceil(-a.min / a.step - 1e-9); };
    auto above = [](const AxisScale& a) { return std::ceil(a.max / a.step - 1e-9); };
    double n = std::max(below(p), below(q)), m = std::max(above(p), above(q));
    for (AxisScale* a : {&p, &q}) {
        a->min = -n * a->step;
        a->max = m * a->step;
        a->divisions = static_cast<int>(n + m);
    }
}

} // namespace plotara::player

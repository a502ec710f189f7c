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

void alignZero(AxisScale& p, AxisScale& q) {
    auto zeroAt = [](const AxisScale& a) { return a.fraction(0); };
    double fp = zeroAt(p), fq = zeroAt(q);
    if (fp <= 0 && fq <= 0) return; // both start at or above zero: nothing to align
    fp = std::clamp(fp, 0.0, 0.95);
    fq = std::clamp(fq, 0.0, 0.95);
    auto lowerTo = [](AxisScale& a, double f) {
        // new min so that (0 - min) / (max - min) = f, keeping max.
        if (a.max <= 0) return;
        double mn = -f * a.max / (1 - f);
        a.min = mn;
        a.step = (a.max - a.min) / a.divisions;
    };
    if (fp > fq) {
        lowerTo(q, fp);
    } else if (fq > fp) {
        lowerTo(p, fq);
    }
}

} // namespace plotara::player

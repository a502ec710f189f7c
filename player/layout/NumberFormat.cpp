#include "player/layout/NumberFormat.h"

#include "player/model/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace plotara::player {

namespace {
std::string groupThousands(const std::string& digits) {
    std::string out;
    int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        out += digits[static_cast<std::size_t>(i)];
        int left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out += ',';
    }
    return out;
}
} // namespace

std::string NumberFormat::format(double value) const {
    return format(value, decimals);
}

std::string NumberFormat::format(double value, int decimalsOverride) const {
    if (isMissing(value)) return {};
    if (!std::isfinite(value)) value = value > 0 ? 1e300 : -1e300;
    std::string unit;
    if (scale) {
        double a = std::fabs(value);
        if (a >= 1e9) {
            value /= 1e9;
            unit = "B";
        } else if (a >= 1e6) {
            value /= 1e6;
            unit = "M";
        } else if (a >= 1e3) {
            value /= 1e3;
            unit = "K";
        }
    }
    bool negative = value < 0;
    double a = std::fabs(value);
    std::string body;
    char buf[64];
    if (a >= 1e15) {
        std::snprintf(buf, sizeof buf, "%.3g", a);
        body = buf;
    } else {
        int d = decimalsOverride < 0 ? 2 : std::clamp(decimalsOverride, 0, 10);
        std::snprintf(buf, sizeof buf, "%.*f", d, a);
        body = buf;
        std::size_t dot = body.find('.');
        if (dot != std::string::npos && (decimalsOverride < 0 || !forceDecimals)) {
            while (body.back() == '0')
                body.pop_back();
            if (body.back() == '.') body.pop_back();
        }
        dot = body.find('.');
        std::string whole = body.substr(0, dot);
        std::string frac = dot == std::string::npos ? "" : body.substr(dot);
        body = (thousands ? groupThousands(whole) : whole) + frac;
        if (body == "0") negative = false;
    }
    return (negative ? "-" : "") + prefix + body + unit + suffix;
}

NumberFormat numberFormatOf(const Attributes& chart, bool secondary) {
    NumberFormat f;
    f.prefix = chart.text(secondary ? "snumberprefix" : "numberprefix");
    f.suffix = chart.text(secondary ? "snumbersuffix" : "numbersuffix");
    auto d = chart.optionalNumber("decimals");
    if (!d) d = chart.optionalNumber("decimalprecision");
    if (d) f.decimals = static_cast<int>(std::clamp(*d, 0.0, 10.0));
    f.forceDecimals = chart.flag("forcedecimals", false);
    f.thousands = chart.flag("formatnumber", true);
    f.scale = chart.flag("formatnumberscale", false);
    return f;
}

int decimalsForStep(double step) {
    if (!(step > 0) || !std::isfinite(step)) return 0;
    for (int d = 0; d <= 10; ++d) {
        double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) return d;
    }
    return 10;
}

} // namespace plotara::player

#include "player/layout/NumberFormat.h"

#include "player/model/ChartModel.h"
#include "player/util/Decimals.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace plotara::player {

namespace {

constexpr int maxDecimals = 15;

// Appends the digits with the separator between each group of three from the right.
void appendGrouped(std::string& out, std::string_view digits, std::string_view separator) {
    const std::size_t head = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    out += digits.substr(0, head);
    for (std::size_t i = head; i < digits.size(); i += 3) {
        out += separator;
        out += digits.substr(i, 3);
    }
}

// The K/M/B divisor and unit a value is shown with.
double scaleOf(double value, bool scale, std::string& unit) {
    static constexpr struct {
        double divisor;
        char unit;
    } units[] = {{1e9, 'B'}, {1e6, 'M'}, {1e3, 'K'}};
    unit.clear();
    if (!scale) return 1;
    const double a = std::fabs(value);
    for (const auto& u : units) {
        if (a >= u.divisor) {
            unit.assign(1, u.unit);
            return u.divisor;
        }
    }
    return 1;
}

// Decimals that show the first two significant digits of a non-zero magnitude below one.
int significantDecimals(double magnitude) {
    int d = 1 - static_cast<int>(std::floor(std::log10(magnitude)));
    return std::clamp(d, 0, maxDecimals);
}

// "1234.50" in the C form whatever the locale, trailing zeros dropped unless kept; the text
// lies in buf.
std::string_view fixed(char (&buf)[400], double magnitude, int decimals, bool keepZeros) {
    if (const char* end = writeDecimals(buf, magnitude, decimals, keepZeros))
        return {buf, static_cast<std::size_t>(end - buf)};
    const char* end =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, decimals).ptr;
    std::string_view body(buf, static_cast<std::size_t>(end - buf));
    if (!keepZeros && body.find('.') != std::string_view::npos) {
        while (body.back() == '0')
            body.remove_suffix(1);
        if (body.back() == '.') body.remove_suffix(1);
    }
    return body;
}

bool allZero(std::string_view body) {
    return body.find_first_not_of("0.") == std::string_view::npos;
}

} // namespace

std::string NumberFormat::format(double value) const {
    return format(value, decimals);
}

std::string NumberFormat::format(double value, int decimalsOverride) const {
    if (isMissing(value)) return {};
    if (!std::isfinite(value)) value = value > 0 ? 1e300 : -1e300;
    std::string unit;
    value /= scaleOf(value, scale, unit);
    bool negative = value < 0;
    double a = std::fabs(value);
    std::string out;
    if (a >= 1e15) {
        char buf[64];
        auto end = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::general, 3).ptr;
        std::string body(buf, end);
        if (std::size_t dot = body.find('.'); dot != std::string::npos)
            body.replace(dot, 1, decimalPoint);
        out = (negative ? "-" : "") + prefix + body;
    } else {
        // Written straight into the result: a chart's tool texts format every point's value.
        int d = decimalsOverride < 0 ? 2 : std::clamp(decimalsOverride, 0, maxDecimals);
        bool keepZeros = decimalsOverride >= 0 && forceDecimals;
        char buf[400];
        std::string_view body = fixed(buf, a, d, keepZeros);
        if (a > 0 && allZero(body))
            body = fixed(buf, a, std::max(d, significantDecimals(a)), false);
        if (body == "0") negative = false;
        const std::string_view whole = body.substr(0, body.find('.'));
        // The usual value (nothing to put around or between its digits) in one piece: a dense
        // chart's page formats every point's value.
        if (prefix.empty() && suffix.empty() && unit.empty() && decimalPoint == "." &&
            (!thousands || whole.size() <= 3)) {
            out.reserve(body.size() + 1);
            if (negative) out += '-';
            out += body;
            return out;
        }
        const std::size_t groups = thousands ? (whole.size() - 1) / 3 : 0;
        const bool point = whole.size() < body.size();
        out.reserve((negative ? 1 : 0) + prefix.size() + body.size() +
                    groups * thousandsSeparator.size() + (point ? decimalPoint.size() : 0) +
                    unit.size() + suffix.size());
        if (negative) out += '-';
        out += prefix;
        appendGrouped(out, whole, thousands ? std::string_view(thousandsSeparator) : "");
        if (point) {
            out += decimalPoint;
            out += body.substr(whole.size() + 1);
        }
    }
    out += unit;
    out += suffix;
    return out;
}

std::string NumberFormat::formatTick(double value, double step) const {
    std::string unit;
    const double divisor = scaleOf(value, scale, unit);
    int d = decimalsForStep(step / divisor);
    if (decimals >= 0) d = std::max(d, decimals);
    return format(value, d);
}

NumberFormat NumberFormat::plain() const {
    NumberFormat f;
    f.decimalPoint = decimalPoint;
    f.thousandsSeparator = thousandsSeparator;
    return f;
}

NumberFormat NumberFormat::percent(int percentDecimals, bool force) const {
    NumberFormat f = plain();
    f.suffix.assign(1, '%');
    f.decimals = percentDecimals;
    f.forceDecimals = force;
    f.thousands = false;
    return f;
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
    if (const std::string* point = chart.find("decimalseparator"); point && !point->empty())
        f.decimalPoint = *point;
    if (const std::string* group = chart.find("thousandseparator")) f.thousandsSeparator = *group;
    return f;
}

int decimalsForStep(double step) {
    if (!(step > 0) || !std::isfinite(step)) return 0;
    for (int d = 0; d <= maxDecimals; ++d) {
        double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) return d;
    }
    return maxDecimals;
}

} // namespace plotara::player

#include "apps/ParamCheck.h"

#include "apps/Failures.h"

#include <algorithm>
#include <cctype>

namespace plotara::apps {

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The edit distance of two names, letter case aside.
std::size_t distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The chart attributes the player reads, as documents spell them.
const char* const chartAttributeNames[] = {"caption",
                                           "subCaption",
                                           "xAxisName",
                                           "yAxisName",
                                           "PYAxisName",
                                           "SYAxisName",
                                           "numberPrefix",
                                           "numberSuffix",
                                           "sNumberPrefix",
                                           "sNumberSuffix",
                                           "xNumberPrefix",
                                           "xNumberSuffix",
                                           "decimals",
                                           "decimalPrecision",
                                           "forceDecimals",
                                           "formatNumber",
                                           "formatNumberScale",
                                           "numDivLines",
                                           "numVDivLines",
                                           "yAxisMinValue",
                                           "yAxisMaxValue",
                                           "PYAxisMinValue",
                                           "PYAxisMaxValue",
                                           "SYAxisMinValue",
                                           "SYAxisMaxValue",
                                           "xAxisMinValue",
                                           "xAxisMaxValue",
                                           "rotateNames",
                                           "rotateLabels",
                                           "slantLabels",
                                           "labelDisplay",
                                           "showNames",
                                           "showLabels",
                                           "showValues",
                                           "showLegend",
                                           "showYAxisValues",
                                           "showLimits",
                                           "showSum",
                                           "showPercentValues",
                                           "palette",
                                           "paletteColors",
                                           "bgColor",
                                           "bgAlpha",
                                           "canvasBgColor",
                                           "canvasBgAlpha",
                                           "canvasBorderColor",
                                           "divLineColor",
                                           "divLineIsDashed",
                                           "showAlternateHGridColor",
                                           "alternateHGridColor",
                                           "chartLeftMargin",
                                           "chartRightMargin",
                                           "chartTopMargin",
                                           "chartBottomMargin",
                                           "is3D",
                                           "showPlotBorder",
                                           "baseFont",
                                           "baseFontSize",
                                           "baseFontColor",
                                           "lineThickness",
                                           "anchorSides",
                                           "anchorRadius",
                                           "anchorBgColor",
                                           "anchorBorderColor",
                                           "anchorBorderThickness",
                                           "drawAnchors",
                                           "clipBubbles",
                                           "bubbleScale",
                                           "pieRadius",
                                           "doughnutRadius",
                                           "slicingDistance",
                                           "startingAngle",
                                           "numVisiblePlot",
                                           "decimalSeparator",
                                           "thousandSeparator",
                                           "inDecimalSeparator",
                                           "inThousandSeparator",
                                           "logScale",
                                           "logBase",
                                           "setAdaptiveYMin",
                                           "scrollPosition",
                                           "legendPosition",
                                           "animation",
                                           "interactiveLegend"};

} // namespace

const std::vector<std::string>& knownChartAttributes() {
    static const std::vector<std::string> names(std::begin(chartAttributeNames),
                                                std::end(chartAttributeNames));
    return names;
}

void requireAttributeName(const std::string& name) {
    const bool ok =
        !name.empty() && (std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_') &&
        std::all_of(name.begin(), name.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
        });
    if (!ok)
        throw UsageFailure("--param name '" + name +
                           "' is not an attribute name (letters, digits, _ - and ., starting "
                           "with a letter)");
}

std::optional<std::string> unknownAttributeWarning(const std::string& name) {
    const std::string key = lower(name);
    const std::string* nearest = nullptr;
    std::size_t best = 0;
    for (const std::string& known : knownChartAttributes()) {
        if (lower(known) == key) return std::nullopt;
        const std::size_t d = distance(name, known);
        if (nearest == nullptr || d < best) {
            nearest = &known;
            best = d;
        }
    }
    std::string warning = "--param '" + name + "' is not a documented chart attribute";
    if (nearest != nullptr && best <= std::max<std::size_t>(2, name.size() / 3))
        warning += " (did you mean " + *nearest + "?)";
    return warning + "; docs/chart-xml.md lists them";
}

void warnUnknownParams(const std::vector<std::string>& params, bool strict, std::ostream& err) {
    for (const std::string& param : params) {
        std::string name = param.substr(0, param.find('='));
        const std::size_t first = name.find_first_not_of(' ');
        name = first == std::string::npos
                   ? ""
                   : name.substr(first, name.find_last_not_of(' ') - first + 1);
        const std::optional<std::string> warning = unknownAttributeWarning(name);
        if (!warning) continue;
        if (strict) throw UsageFailure(*warning + " (--strict)");
        err << "plotara: warning: " << *warning << '\n';
    }
}

void requireColorList(const std::string& list) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.find(';', start);
        const std::string piece = list.substr(start, end - start);
        if (piece.size() != 6 || !std::all_of(piece.begin(), piece.end(), isHex))
            throw UsageFailure("--colors takes colours of six hexadecimal digits separated by "
                               "\";\" (\"FF0000;00FF00\"), got '" +
                               piece + "'");
        if (end == std::string::npos) return;
        start = end + 1;
    }
}

std::size_t nameDistance(const std::string& a, const std::string& b) {
    return distance(a, b);
}

} // namespace plotara::apps

#include "apps/SeriesStyles.h"

#include "apps/CellTable.h"
#include "control/Catalogue.h"
#include "core/ChartTypes.h"

#include <algorithm>

namespace plotara::apps {

namespace {

std::vector<std::string> pieces(const std::string& list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.find(';', start);
        std::string piece = trimBlanks(list.substr(start, end - start));
        if (!piece.empty()) out.push_back(std::move(piece));
        if (end == std::string::npos) return out;
        start = end + 1;
    }
}

// The names of the chart types whose row in the type table has the flag, "a, b, c".
std::string typeNames(bool chart_types::ChartType::*flag) {
    std::string names;
    for (Long type = 1; type <= chart_types::count; ++type)
        if (chart_types::find(type)->*flag)
            names += (names.empty() ? "" : ", ") + toUtf8(catalogue::typeName(type));
    return names;
}

} // namespace

bool hasSecondaryAxis(Long chartType) {
    const chart_types::ChartType* row = chart_types::find(chartType);
    return row != nullptr && row->dualY;
}

bool isCombination(Long chartType) {
    const chart_types::ChartType* row = chart_types::find(chartType);
    return row != nullptr && row->combination;
}

String SeriesStyles::datasetParams(const std::string& series) const {
    String params;
    if (std::find(secondary.begin(), secondary.end(), series) != secondary.end())
        params = L"parentYAxis=S";
    for (const auto& [name, kind] : renderAs)
        if (name == series)
            params += (params.empty() ? L"" : L";") + (L"renderAs=" + fromUtf8(kind));
    return params;
}

void SeriesStyles::requireSeries(const std::vector<std::string>& names) const {
    auto check = [&](const std::string& name, const char* option) {
        if (std::find(names.begin(), names.end(), name) != names.end()) return;
        std::string listed;
        for (const std::string& known : names)
            listed += (listed.empty() ? "" : ", ") + known;
        throw ChartFailure("no series '" + name + "' (" + option +
                           "); the chart's series: " + listed);
    };
    for (const std::string& name : secondary)
        check(name, "--secondary");
    for (const auto& entry : renderAs)
        check(entry.first, "--render-as");
}

std::string SeriesStyles::chooseSecondary(const std::vector<std::string>& names) {
    if (!dualAxis || !secondary.empty() || names.size() < 2) return {};
    secondary.push_back(names.back());
    return "\"" + names.back() +
           "\" is drawn on the secondary axis; --secondary chooses the series for it";
}

SeriesStyles parseSeriesStyles(const RenderRequest& request, Long chartType) {
    SeriesStyles styles;
    styles.secondary = pieces(request.secondary);
    styles.dualAxis = hasSecondaryAxis(chartType);
    if (!styles.secondary.empty() && !styles.dualAxis)
        throw UsageFailure("--secondary needs a dual-axis chart type: " +
                           typeNames(&chart_types::ChartType::dualY));
    for (const std::string& piece : pieces(request.renderAs)) {
        const std::size_t eq = piece.rfind('=');
        const std::string name = eq == std::string::npos ? "" : trimBlanks(piece.substr(0, eq));
        const std::string kind = eq == std::string::npos ? "" : trimBlanks(piece.substr(eq + 1));
        if (name.empty())
            throw UsageFailure("--render-as needs series=kind pieces, got '" + piece + "'");
        if (kind != "column" && kind != "line" && kind != "area")
            throw UsageFailure("--render-as kind '" + kind + "' for '" + name +
                               "': use column, line or area");
        styles.renderAs.emplace_back(name, kind);
    }
    if (!styles.renderAs.empty() && !isCombination(chartType))
        throw UsageFailure("--render-as needs a combination chart type: " +
                           typeNames(&chart_types::ChartType::combination));
    return styles;
}

} // namespace plotara::apps

#include "apps/SeriesStyles.h"

#include "apps/CellTable.h"
#include "control/Catalogue.h"

#include <algorithm>
#include <array>

namespace plotara::apps {

namespace {

constexpr std::array<Long, 5> dualAxisTypes{23, 25, 27, 28, 36};
constexpr std::array<Long, 9> combinationTypes{21, 22, 23, 24, 25, 27, 28, 35, 36};

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

template <std::size_t N>
std::string typeNames(const std::array<Long, N>& types) {
    std::string names;
    for (Long type : types)
        names += (names.empty() ? "" : ", ") + toUtf8(catalogue::typeName(type));
    return names;
}

} // namespace

bool hasSecondaryAxis(Long chartType) {
    return std::find(dualAxisTypes.begin(), dualAxisTypes.end(), chartType) != dualAxisTypes.end();
}

bool isCombination(Long chartType) {
    return std::find(combinationTypes.begin(), combinationTypes.end(), chartType) !=
           combinationTypes.end();
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

SeriesStyles parseSeriesStyles(const RenderRequest& request, Long chartType) {
    SeriesStyles styles;
    styles.secondary = pieces(request.secondary);
    if (!styles.secondary.empty() && !hasSecondaryAxis(chartType))
        throw UsageFailure("--secondary needs a dual-axis chart type: " + typeNames(dualAxisTypes));
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
                           typeNames(combinationTypes));
    return styles;
}

} // namespace plotara::apps

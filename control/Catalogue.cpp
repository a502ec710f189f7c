#include "control/Catalogue.h"

#include "core/ChartTypes.h"
#include "core/Text.h"

#include <span>

namespace plotara::catalogue {

namespace {

// The listing order of GetChartArray, group by group (chart type numbers).
constexpr Long singleSeries[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 37};
constexpr Long multiSeries[] = {10, 11, 12, 13, 14, 15};
constexpr Long combination[] = {21, 22, 23, 24, 25};
constexpr Long scroll[] = {31, 32, 33, 34, 35, 36};
constexpr Long stacked[] = {16, 17, 18, 19, 20, 28};
constexpr Long multiSeriesStacked[] = {26, 27};
constexpr Long xyPlot[] = {30, 29};

constexpr Integer lastStoredType = 50;
constexpr Integer lastEdition = 2;

void appendNames(std::vector<String>& out, std::span<const Long> types) {
    for (const Long type : types)
        out.emplace_back(chart_types::find(type)->name);
}

} // namespace

String ChartMovieFile(Integer edition, Integer chartType) {
    if (edition < 0 || edition > lastEdition || chartType < 0 || chartType > lastStoredType)
        return String();
    if (chartType < 1 || chartType > chartTypeCount || edition == 2) return String();
    const chart_types::ChartType& type = *chart_types::find(chartType);
    return edition == 0 ? type.lightFile : type.movieFile;
}

String typeName(Long chartType) {
    const chart_types::ChartType* type = chart_types::find(chartType);
    return type ? type->name : String();
}

Long typeOfName(StringView name) {
    for (Long type = 1; type <= chartTypeCount; ++type)
        if (name == chart_types::find(type)->name) return type;
    return 0;
}

std::vector<String> groupNames(Long group) {
    std::vector<String> names;
    switch (group) {
    case 0:
        appendNames(names, singleSeries);
        appendNames(names, multiSeries);
        appendNames(names, combination);
        appendNames(names, scroll);
        appendNames(names, stacked);
        appendNames(names, multiSeriesStacked);
        appendNames(names, xyPlot);
        break;
    case 1:
        appendNames(names, singleSeries);
        break;
    case 2:
        appendNames(names, multiSeries);
        break;
    case 3:
        appendNames(names, combination);
        break;
    case 4:
        appendNames(names, scroll);
        break;
    case 5:
        appendNames(names, stacked);
        break;
    case 6:
        appendNames(names, multiSeriesStacked);
        break;
    case 7:
        appendNames(names, xyPlot);
        break;
    default:
        break;
    }
    return names;
}

} // namespace plotara::catalogue

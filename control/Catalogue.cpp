#include "control/Catalogue.h"

#include "core/Text.h"

#include <span>

namespace plotara::catalogue {

namespace {

struct Row {
    const wchar_t* typeName;
    const wchar_t* movieFile;
    const wchar_t* lightFile; // "0" where the light edition has no movie
};

// Rows 1 to 37, indexed by chart type - 1.
constexpr Row rows[chartTypeCount] = {
    {L"column3d", L"PTM01.swf", L"PTL_PTM01.swf"},
    {L"column2d", L"PTM02.swf", L"PTL_PTM02.swf"},
    {L"pie3d", L"PTM03.swf", L"PTL_PTM03.swf"},
    {L"pie2d", L"PTM04.swf", L"PTL_PTM04.swf"},
    {L"doughnut3d", L"PTM05.swf", L"0"},
    {L"doughnut2d", L"PTM06.swf", L"PTL_PTM06.swf"},
    {L"line2d", L"PTM07.swf", L"PTL_PTM07.swf"},
    {L"area2d", L"PTM08.swf", L"PTL_PTM08.swf"},
    {L"bar2d", L"PTM09.swf", L"PTL_PTM09.swf"},
    {L"mscolumn3d", L"PTM10.swf", L"PTL_PTM10.swf"},
    {L"mscolumn2d", L"PTM11.swf", L"PTL_PTM11.swf"},
    {L"msline2d", L"PTM12.swf", L"PTL_PTM12.swf"},
    {L"msarea2d", L"PTM13.swf", L"PTL_PTM13.swf"},
    {L"msbar3d", L"PTM14.swf", L"0"},
    {L"msbar2d", L"PTM15.swf", L"PTL_PTM15.swf"},
    {L"stackedcolumn3d", L"PTM16.swf", L"PTL_PTM16.swf"},
    {L"stackedcolumn2d", L"PTM17.swf", L"PTL_PTM17.swf"},
    {L"stackedarea2d", L"PTM18.swf", L"PTL_PTM18.swf"},
    {L"stackedbar3d", L"PTM19.swf", L"0"},
    {L"stackedbar2d", L"PTM20.swf", L"PTL_PTM20.swf"},
    {L"mscombi2d", L"PTM21.swf", L"0"},
    {L"mscombi3d", L"PTM22.swf", L"0"},
    {L"mscombidy2d", L"PTM23.swf", L"PTL_PTM23.swf"},
    {L"mscolumn3dline", L"PTM24.swf", L"0"},
    {L"mscolumn3dlinedy", L"PTM25.swf", L"PTL_PTM25.swf"},
    {L"msstackedcolumn2d", L"PTM26.swf", L"0"},
    {L"msstackedcolumn2dlinedy", L"PTM27.swf", L"0"},
    {L"stackedcolumn3dlinedy", L"PTM28.swf", L"0"},
    {L"scatter", L"PTM29.swf", L"0"},
    {L"bubble", L"PTM30.swf", L"0"},
    {L"scrollcolumn2d", L"PTM31.swf", L"0"},
    {L"scrollline2d", L"PTM32.swf", L"0"},
    {L"scrollarea2d", L"PTM33.swf", L"0"},
    {L"scrollstackedcolumn2d", L"PTM34.swf", L"0"},
    {L"scrollcombi2d", L"PTM35.swf", L"0"},
    {L"scrollcombidy2d", L"PTM36.swf", L"0"},
    {L"grid", L"PTM37.swf", L"0"},
};

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
        out.emplace_back(rows[type - 1].typeName);
}

} // namespace

String ChartMovieFile(Integer edition, Integer chartType) {
    if (edition < 0 || edition > lastEdition || chartType < 0 || chartType > lastStoredType)
        return String();
    if (chartType < 1 || chartType > chartTypeCount || edition == 2) return String();
    const Row& row = rows[chartType - 1];
    return edition == 0 ? row.lightFile : row.movieFile;
}

String typeName(Long chartType) {
    if (chartType < 1 || chartType > chartTypeCount) return String();
    return rows[chartType - 1].typeName;
}

Long typeOfName(StringView name) {
    for (Long type = 1; type <= chartTypeCount; ++type)
        if (name == rows[type - 1].typeName) return type;
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

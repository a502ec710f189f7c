#include "apps/TableFill.h"

#include "apps/Types.h"
#include "core/Text.h"

namespace plotara::apps {

namespace {

String cellText(const std::vector<std::string>& row, std::size_t column) {
    return column < row.size() ? text::trim(fromUtf8(row[column])) : String();
}

void fillXY(PlotaraData& data, bool bubble, const CsvTable& table) {
    const std::size_t width = table.header.size();
    const std::size_t step = bubble ? 2 : 1;
    if (width < 1 + step)
        throw ChartFailure(bubble ? "a bubble chart needs an x column and a y and size column"
                                  : "a scatter chart needs an x column and a y column");
    for (std::size_t column = 1; column + step <= width; column += step) {
        data.addDataset(cellText(table.header, column));
        for (const auto& row : table.rows) {
            const String x = cellText(row, 0), y = cellText(row, column);
            if (x.empty() || y.empty()) continue; // an XY point needs both
            String params = L"Y=" + y;
            if (bubble) params += L";Z=" + cellText(row, column + 1);
            data.addChartData(x, params);
        }
    }
}

} // namespace

void fillFromTable(PlotaraData& data, ChartKind kind, bool bubble, const CsvTable& table) {
    if (kind == ChartKind::XY) {
        fillXY(data, bubble, table);
        return;
    }
    const std::size_t width = table.header.size();
    if (width < 2) throw ChartFailure("the table has no value column after the category column");
    if (kind == ChartKind::SingleSeries) {
        for (const auto& row : table.rows)
            data.addChartData(cellText(row, 1), L"label=" + cellText(row, 0));
        return;
    }
    for (const auto& row : table.rows)
        data.addCategory(cellText(row, 0));
    if (kind == ChartKind::Stacked) data.createMSStDataset();
    for (std::size_t column = 1; column < width; ++column) {
        if (kind == ChartKind::Stacked)
            data.addMSStSubDataset(cellText(table.header, column));
        else
            data.addDataset(cellText(table.header, column));
        for (const auto& row : table.rows)
            data.addChartData(cellText(row, column));
    }
}

} // namespace plotara::apps

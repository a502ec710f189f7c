// Bulk recording from host arrays, expressed through the item operations.
#include "data/ArrayClass.h"

#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/SafeArray.h"
#include "core/Text.h"

namespace plotara {

void ArrayClass::addCategoryFromArray(const Variant& categoryArray) {
    freshStart();
    const SafeArray& categories = categoryArray.array();
    const Long lower = categories.lbound(1), upper = categories.ubound(1);
    if (chartKind_ != chart_types::SeriesKind::XY) {
        for (Long i = lower; i <= upper; ++i)
            addCategory(toText(categories.at(i)));
        return;
    }
    // On an XY chart each row is a label and its x position; the ";" is fixed, whatever the
    // delimiter, because the parameter text is composed here.
    for (Long i = lower; i <= upper; ++i) {
        String label = toText(categories.at(i, 0));
        addCategory(label, L"X=" + toText(categories.at(i, 1)) + L";");
    }
}

void ArrayClass::addChartDataFromArray(const Variant& chartDataArray) {
    freshStart();
    const SafeArray& rows = chartDataArray.array();
    const Long lower = rows.lbound(1), upper = rows.ubound(1);
    for (Long i = lower; i <= upper; ++i) {
        String value = toText(rows.at(i, 1));
        addChartData(value, L"label=" + toText(rows.at(i, 0)));
    }
}

void ArrayClass::addSeriesRowsFromArray(const Variant& dataArray, StringView xySeparator) {
    auto statement = [](auto&& body) { ErrorTrap::resume(body); };
    // A bound that cannot be read keeps the value it had, as a skipped statement would.
    Long rowLower = 0, rowUpper = 0, columnLower = 0;
    Integer columnUpper = 0;
    statement([&] { rowLower = dataArray.array().lbound(1); });
    statement([&] { rowUpper = dataArray.array().ubound(1); });
    statement([&] { columnLower = dataArray.array().lbound(2); });
    statement(
        [&] { columnUpper = number::toInteger(static_cast<double>(dataArray.array().ubound(2))); });
    auto cell = [&](Long i, Long j) { return toText(dataArray.array().at(i, j)); };
    for (Long i = rowLower; i <= rowUpper; ++i) {
        for (Long j = columnLower; j <= columnUpper; ++j) {
            if (j == 0) {
                statement([&] { addDataset(cell(i, 0), cell(i, 1)); });
            } else if (j != 1) {
                statement([&] {
                    const String value = cell(i, j);
                    if (value.empty()) return;
                    if (!chart_types::isXY(chartType_)) {
                        addChartData(value);
                        return;
                    }
                    const auto parts = text::split(value, xySeparator);
                    String params;
                    if (parts.size() == 2) params = L"Y=" + parts[1];
                    if (parts.size() == 3) params = L"Y=" + parts[1] + L";Z=" + parts[2];
                    addChartData(parts[0], params);
                });
            }
        }
    }
}

} // namespace plotara

// Bulk recording from host arrays, expressed through the item operations.
#include "data/ArrayClass.h"

#include "core/SafeArray.h"

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

} // namespace plotara

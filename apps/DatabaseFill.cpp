#include "apps/DatabaseFill.h"

#include "apps/ChartSession.h"
#include "core/Text.h"
#include "core/Variant.h"

#include <algorithm>

namespace plotara::apps {

namespace {

// Checks that the result has the column (exactly, else ignoring case, as the recordsets match).
void requireColumn(const std::vector<String>& columns, const String& name, const char* option) {
    for (const String& column : columns)
        if (text::equalsIgnoreCase(column, name)) return;
    std::string listed;
    for (const String& column : columns)
        listed += (listed.empty() ? "" : ", ") + toUtf8(column);
    throw ChartFailure("no column '" + toUtf8(name) + "' (" + option +
                       ") in the query result; its columns: " + listed);
}

String fieldText(Recordset& rows, const String& column) {
    const Variant value = rows.field(column);
    return value.isNull() ? String() : text::trim(toText(value));
}

void fillXY(PlotaraData& data, Recordset& rows, bool bubble, const String& x,
            const std::vector<String>& values, const String& series) {
    if (values.size() != (bubble ? 2u : 1u))
        throw ChartFailure(bubble ? "a bubble chart needs --value \"y column;size column\""
                                  : "a scatter chart needs one --value column (y)");
    if (x.empty()) throw ChartFailure("an XY chart needs --category naming the x column");
    String current;
    bool first = true;
    rows.MoveFirst();
    while (!rows.eof()) {
        const String name = series.empty() ? values[0] : fieldText(rows, series);
        if (first || name != current) data.addDataset(name);
        first = false;
        current = name;
        const String xValue = fieldText(rows, x), y = fieldText(rows, values[0]);
        if (!xValue.empty() && !y.empty()) {
            String params = L"Y=" + y;
            if (bubble) params += L";Z=" + fieldText(rows, values[1]);
            data.addChartData(xValue, params);
        }
        rows.MoveNext();
    }
}

// The distinct values of a column in order of first appearance.
std::vector<String> distinctValues(Recordset& rows, const String& column) {
    std::vector<String> seen;
    rows.MoveFirst();
    while (!rows.eof()) {
        String value = fieldText(rows, column);
        if (std::find(seen.begin(), seen.end(), value) == seen.end())
            seen.push_back(std::move(value));
        rows.MoveNext();
    }
    return seen;
}

} // namespace

void fillFromQuery(PlotaraData& data, Recordset& rows, const std::vector<String>& columns,
                   Long chartType, const RenderRequest& request) {
    const String category = fromUtf8(request.categoryColumn);
    const String series = fromUtf8(request.seriesColumn);
    const String valueText = fromUtf8(request.valueColumn);
    std::vector<String> values;
    for (String& part : text::split(valueText, L";"))
        if (!text::trim(part).empty()) values.push_back(text::trim(part));
    if (values.empty()) throw ChartFailure("--value names no column");
    for (const String& value : values)
        requireColumn(columns, value, "--value");
    if (!category.empty()) requireColumn(columns, category, "--category");
    if (!series.empty()) requireColumn(columns, series, "--series");

    const ChartKind kind = chartKindOf(chartType);
    if (kind == ChartKind::XY) {
        fillXY(data, rows, chartType == 30, category, values, series);
        return;
    }
    if (values.size() > 1) {
        // The column form: categories from the category column, a dataset per value column.
        if (category.empty()) throw ChartFailure("several --value columns need --category");
        if (!series.empty())
            throw ChartFailure("--series and several --value columns exclude "
                               "each other");
        if (kind == ChartKind::SingleSeries)
            throw ChartFailure("a single-series chart takes one --value column");
        if (kind == ChartKind::Stacked) data.createMSStDataset();
        data.addDatasetsFromDatabase(rows, valueText, category);
        return;
    }
    if (!series.empty()) {
        // The grouped form: a dataset per run of the series column.
        if (kind == ChartKind::SingleSeries)
            throw ChartFailure("a single-series chart takes no --series column");
        if (category.empty()) throw ChartFailure("--series needs --category");
        for (const String& label : distinctValues(rows, category))
            data.addCategory(label);
        if (kind == ChartKind::Stacked) data.createMSStDataset();
        rows.MoveFirst();
        data.addDatasetsFromDatabase(rows, series, values[0]);
        return;
    }
    if (kind == ChartKind::SingleSeries) {
        data.addDataFromDatabase(rows, values[0], category);
        return;
    }
    // One series on a multi-series chart: the categories, then one dataset.
    if (!category.empty()) data.addCategoryFromDatabase(rows, category);
    if (kind == ChartKind::Stacked) {
        data.createMSStDataset();
        data.addMSStSubDataset(values[0]);
    } else {
        data.addDataset(values[0]);
    }
    data.addDataFromDatabase(rows, values[0]);
}

} // namespace plotara::apps

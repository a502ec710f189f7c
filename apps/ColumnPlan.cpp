#include "apps/ColumnPlan.h"

#include "apps/ChartSession.h"

#include <algorithm>
#include <cctype>

namespace plotara::apps {

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::size_t findColumn(const CellTable& table, const std::string& name, const char* option) {
    for (std::size_t i = 0; i < table.header.size(); ++i)
        if (table.header[i] == name) return i;
    for (std::size_t i = 0; i < table.header.size(); ++i)
        if (sameIgnoringCase(table.header[i], name)) return i;
    throw ChartFailure("no column '" + name + "' (" + option + ") in " + table.origin +
                       "; its columns: " + table.columnList());
}

std::vector<std::size_t> namedValues(const CellTable& table, const std::string& option) {
    std::vector<std::size_t> values;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = option.find(';', start);
        const std::string name = trimBlanks(option.substr(start, end - start));
        if (!name.empty()) values.push_back(findColumn(table, name, "--value"));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (values.empty()) throw ChartFailure("--value names no column");
    return values;
}

std::string namesOf(const CellTable& table, const std::vector<std::size_t>& columns) {
    std::string listed;
    for (std::size_t column : columns)
        listed += (listed.empty() ? "" : ", ") + table.header[column];
    return listed;
}

void checkXY(const CellTable& table, const ColumnPlan& plan, bool bubble, bool named) {
    if (!plan.category) throw ChartFailure("an XY chart needs --category naming the x column");
    const std::size_t group = bubble ? 2 : 1;
    if (plan.values.empty() || plan.values.size() % group != 0 ||
        (plan.series && plan.values.size() != group)) {
        std::string message = bubble ? "a bubble chart needs --value \"y column;size column\""
                                     : "a scatter chart needs one --value column (y)";
        if (!named && !plan.series)
            message = bubble ? "a bubble chart takes the columns after x in pairs (y, size)"
                             : "a scatter chart needs a y column after the x column";
        throw ChartFailure(message + "; the columns of " + table.origin + ": " +
                           table.columnList());
    }
}

void checkCategorical(const CellTable& table, const ColumnPlan& plan, ChartKind kind, bool named) {
    if (plan.values.empty())
        throw ChartFailure("no value column besides the category column; the columns of " +
                           table.origin + ": " + table.columnList());
    if (kind == ChartKind::Single) {
        if (plan.series) throw ChartFailure("a single-series chart takes no --series column");
        if (plan.values.size() > 1)
            throw ChartFailure(named ? std::string("a single-series chart takes one --value column")
                                     : "a single-series chart draws one value column; choose "
                                       "one with --value: " +
                                           namesOf(table, plan.values));
        return;
    }
    if (plan.series && plan.values.size() > 1)
        throw ChartFailure(named ? std::string("--series and several --value columns exclude "
                                               "each other")
                                 : "--series needs the value column: choose one with --value: " +
                                       namesOf(table, plan.values));
}

} // namespace

ColumnPlan planColumns(const CellTable& table, const RenderRequest& request, Long chartType,
                       bool positionalDefaults) {
    ColumnPlan plan;
    if (!request.seriesColumn.empty())
        plan.series = findColumn(table, request.seriesColumn, "--series");
    if (!request.categoryColumn.empty())
        plan.category = findColumn(table, request.categoryColumn, "--category");
    else if (plan.series)
        throw ChartFailure("--series needs --category");
    else if (positionalDefaults && !table.header.empty())
        plan.category = 0;
    const bool named = !request.valueColumn.empty();
    if (named) {
        plan.values = namedValues(table, request.valueColumn);
    } else if (positionalDefaults) {
        for (std::size_t i = 0; i < table.header.size(); ++i)
            if (i != plan.category && i != plan.series) plan.values.push_back(i);
    }
    const ChartKind kind = chartKindOf(chartType);
    if (kind == ChartKind::XY)
        checkXY(table, plan, chart_types::isBubble(chartType), named);
    else
        checkCategorical(table, plan, kind, named);
    if (named && plan.values.size() > 1 && !plan.category && kind != ChartKind::XY)
        throw ChartFailure("several --value columns need --category");
    return plan;
}

} // namespace plotara::apps

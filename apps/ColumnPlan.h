// Which columns of a table the chart is drawn from: the category (x on XY charts), the value
// columns, and the series column of a long-form table, by the --category, --value and --series
// options, or for a CSV file without them by position.
#pragma once

#include "apps/CellTable.h"
#include "apps/Failures.h"
#include "core/String.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace plotara::apps {

struct ColumnPlan {
    std::optional<std::size_t> category; // x on scatter and bubble charts
    std::vector<std::size_t> values;     // y, or y and size pairs on bubble charts
    std::optional<std::size_t> series;   // a long-form table's series column
};

// The columns for the chart type. Named columns match exactly, else ignoring letter case. With
// positional defaults (a CSV file) a missing --category is the first column and a missing
// --value every other column. Raises ChartFailure naming a column the table does not have (with
// the list of those it has) or a choice the chart cannot draw: several value columns on a
// single-series chart, --series with several value columns, a bubble chart without y and size
// pairs, an XY chart without an x column.
ColumnPlan planColumns(const CellTable& table, const RenderRequest& request, Long chartType,
                       bool positionalDefaults);

} // namespace plotara::apps

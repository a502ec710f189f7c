// Fills a chart's data object from a table of text cells (a CSV file or a query's rows), item by
// item through Data, laid out for the chart type. Every cell is data: labels and series names
// are recorded as whole texts (never split into parameters), values must be numbers.
#pragma once

#include "apps/CellTable.h"
#include "apps/ColumnPlan.h"
#include "apps/SeriesStyles.h"
#include "data/PlotaraData.h"

#include <cstddef>
#include <string>
#include <vector>

namespace plotara::apps {

// The most data points one chart document built through Data can hold (its counters are 16-bit).
constexpr std::size_t maxChartPoints = 32767;

struct FillOptions {
    SeriesStyles styles;
    // Long-form categories sorted instead of merged in order of appearance; without a series
    // column the rows are taken in the sorted order of the category (x) column.
    bool sortCategories = false;
};

// Records the table by the plan:
// - single-series charts: a set per row, labelled by the category column;
// - multi-series and stacked charts: a category per row and a dataset per value column, or for
//   a long-form table (plan.series) the pivot: a category per distinct category value, a dataset
//   per distinct series value (sorted), each value at its own category, missing cells empty;
// - scatter and bubble charts: a point per row with x, y (and size), a dataset per y column (per
//   y and size pair), or per distinct series value.
// Raises ChartFailure, before anything is recorded, for a value cell that is not a number (with
// its column and row), for more points than maxChartPoints (with the count), for two values of a
// series at one category, and for series styles naming a series the chart does not have.
// A dual-axis chart of two or more series with none named for its secondary axis gets its last
// series there (SeriesStyles::chooseSecondary). Returns the notes of such choices, for the user.
std::vector<std::string> fillChart(PlotaraData& data, Long chartType, const CellTable& table,
                                   const ColumnPlan& plan, const FillOptions& options);

} // namespace plotara::apps

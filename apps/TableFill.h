// Fills a chart's data object from a table of text cells (a CSV file, or the rows of an XY
// query), item by item through Data, laid out for the chart kind.
#pragma once

#include "apps/ChartSession.h"
#include "apps/CsvReader.h"
#include "data/PlotaraData.h"

namespace plotara::apps {

// Records the table: the first column holds the categories (the x values on scatter and bubble
// charts), each further column one series named by its header. Single-series charts take the
// first series; stacked charts stack every series in one group; bubble charts take the columns
// after x in pairs (y, then bubble size). An empty cell is a missing value. Raises ChartFailure
// for a table without a value column (or, for bubbles, without a y and size pair).
void fillFromTable(PlotaraData& data, ChartKind kind, bool bubble, const CsvTable& table);

} // namespace plotara::apps

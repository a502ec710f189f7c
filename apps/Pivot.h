// Long-form tables (one row per category, series and value, in any row order) turned into the
// grid a multi-series chart is drawn from, so that every value lands at its own category.
#pragma once

#include "apps/CellTable.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace plotara::apps {

// The rows of each distinct value of a series column, the names in sorted order (numbers by
// value, then texts), the rows in table order. Cells are trimmed of blanks.
struct SeriesGroups {
    std::vector<std::string> names;
    std::vector<std::vector<std::size_t>> rows; // per name
};
SeriesGroups groupBySeries(const CellTable& table, std::size_t seriesColumn);

// A long-form table as a grid: the categories in chart order, the series sorted, and for each
// series its (category position, table row) pairs ordered by category position.
struct LongForm {
    std::vector<std::string> categories;
    std::vector<std::string> series;
    std::vector<std::vector<std::pair<std::size_t, std::size_t>>> cells;
};

// Pivots the table. The categories come in order of first appearance, merged so that each
// series keeps the order its own rows give them (a series that starts late, or a table sorted by
// series, gives the same axis as one sorted by category); with sortCategories they are sorted
// as series names are. Raises ChartFailure when two rows give the same series a value at the
// same category, naming both. Runs in O(n log n) for n rows.
LongForm pivotLongForm(const CellTable& table, std::size_t categoryColumn, std::size_t seriesColumn,
                       bool sortCategories);

} // namespace plotara::apps

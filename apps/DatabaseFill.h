// Maps the rows of a query onto the data object's database imports: one series
// (addDataFromDatabase), the grouped form (a dataset per run of a series column) or the column
// form (a dataset per value column), by the --category, --value and --series columns.
#pragma once

#include "apps/Types.h"
#include "data/PlotaraData.h"
#include "platform/Recordset.h"

#include <vector>

namespace plotara::apps {

// Records the query's rows for the chart type:
// - --value V [--category C]: one series (on a multi-series chart one dataset named V, with the
//   categories from C);
// - --value V --category C --series S: the grouped form, a dataset per run of equal S values
//   (sort the query by S), the categories being the distinct C values in order of appearance;
// - --value "A;B;C" --category C: the column form, a dataset per value column;
// - scatter and bubble charts: --category is the x column, --value the y column ("y;size" for
//   bubbles), --series optionally splits the points into datasets.
// Raises ChartFailure naming a column the result does not have, or a form the chart cannot use;
// the imports' own errors reach the caller.
void fillFromQuery(PlotaraData& data, Recordset& rows, const std::vector<String>& columns,
                   Long chartType, const RenderRequest& request);

} // namespace plotara::apps

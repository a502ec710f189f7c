// How single series of a combination chart are drawn: --secondary puts series on the secondary
// axis of a dual-axis chart, --render-as chooses column, line or area for each.
#pragma once

#include "apps/Failures.h"
#include "core/String.h"

#include <string>
#include <utility>
#include <vector>

namespace plotara::apps {

struct SeriesStyles {
    std::vector<std::string> secondary;                        // series names
    std::vector<std::pair<std::string, std::string>> renderAs; // (series name, kind)
    bool dualAxis = false;                                     // the type has a secondary axis

    bool empty() const { return secondary.empty() && renderAs.empty(); }
    // The dataset parameters for a series ("parentYAxis=S;renderAs=line"), "" when it has
    // none.
    String datasetParams(const std::string& series) const;
    // Raises ChartFailure for a series named in the options that the chart does not have,
    // listing the series it has.
    void requireSeries(const std::vector<std::string>& names) const;
    // On a dual-axis chart of two or more series with none named for the secondary axis, puts
    // the last series there, so that the chart does not show an axis that belongs to nothing;
    // returns the note that says so, "" when nothing was chosen.
    std::string chooseSecondary(const std::vector<std::string>& names);
};

// Whether the chart type draws series on two axes (parentYAxis), and whether it lets each
// series choose how it is drawn (renderAs).
bool hasSecondaryAxis(Long chartType);
bool isCombination(Long chartType);

// Reads --secondary "A;B" and --render-as "A=line;B=area". Raises UsageFailure for a piece
// without "=", a kind other than column, line and area, and either option on a chart type that
// cannot use it (naming the types that can).
SeriesStyles parseSeriesStyles(const RenderRequest& request, Long chartType);

} // namespace plotara::apps

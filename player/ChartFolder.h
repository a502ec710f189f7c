// Where the chart movie files of this Plotara build live, for hosts that do not keep their own
// chart folder.
#pragma once

#include "core/String.h"

#include <string>
#include <vector>

namespace plotara {

// The environment variable that names a chart folder ahead of every other place.
inline constexpr const char* chartFolderVariable = "PLOTARA_CHARTS";

// The chart folder to hand to Plotara::put_ChartPath. Looked up in this order, the first that
// holds the chart movies (PTM01.swf ...) wins:
//   1. $PLOTARA_CHARTS, when set and not empty;
//   2. in a build tree (the library or program lies under the build folder): the source tree's
//      share/plotara/charts;
//   3. share/plotara/charts of the prefix the library was installed into, found from the
//      library's own location (so a prefix can be moved);
//   4. the chart folder of the install prefix the build was configured with.
// Raises Error 76 "Path not found: ..." naming every folder tried when none holds the chart
// movies, and naming $PLOTARA_CHARTS alone when it is set to a folder without them.
String defaultChartFolder();

// The candidate folders of defaultChartFolder in the order it tries them, without the
// environment variable; for diagnostics and tests. Cannot fail beyond allocation.
std::vector<std::string> chartFolderCandidates();

// True when the folder holds chart movies (its PTM01.swf is a regular file). Cannot fail.
bool holdsChartMovies(const std::string& folder);

} // namespace plotara

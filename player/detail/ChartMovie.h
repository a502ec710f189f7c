// Chart-movie files: the small text files in the chart folder, one per movie file name, that say
// which chart family draws the type and with which options (format in docs/chart-movies.md).
#pragma once

#include "core/ChartTypes.h"

#include <optional>
#include <string>

namespace plotara::player {

// The chart families of the chart-type table; a chart-movie file names one of them.
using Family = chart_types::Family;
enum class SeriesMode { Single, Multi, Stacked, MultiStacked };

struct ChartMovie {
    std::string type; // the chart type name, e.g. "mscolumn3d"
    Family family = Family::Column;
    SeriesMode series = SeriesMode::Single;
    bool threeD = false;      // 3D look: depth and shaded faces
    bool combination = false; // datasets choose column, line or area through renderAs
    bool dualY = false;       // datasets with parentYAxis='S' use a secondary axis
    bool scroll = false;      // a window of plots with a scroll bar
};

// Parses the text of a chart-movie file; nothing when the magic line or a valid family is
// missing. Unknown keys are ignored so newer files still load. Never throws.
std::optional<ChartMovie> parseChartMovie(std::string_view text);
// Reads and parses a chart-movie file; nothing when it is missing, unreadable, larger than
// 64 KiB or not a chart movie. Never throws.
std::optional<ChartMovie> loadChartMovie(const std::string& path);

// Family name as written in chart-movie files ("column", "pie", ...).
const char* familyName(Family family);

} // namespace plotara::player

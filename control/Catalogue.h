// The chart catalogue: the 37 chart types with their names, movie files, groups and the sample
// documents shown in a form designer.
#pragma once

#include "core/ChartTypes.h"
#include "core/String.h"

#include <vector>

namespace plotara::catalogue {

inline constexpr Long chartTypeCount = chart_types::count;

// The movie-file store: edition 0 the light files ("0" where a type has none), edition 1 the
// full files, edition 2 empty, for chart types 0 to 50 (0 and 38 to 50 empty). Any index outside
// the store gives ""; cannot fail.
String ChartMovieFile(Integer edition, Integer chartType);

// The lower-case type name of a chart type ("column3d"), "" outside 1 to 37. Cannot fail.
String typeName(Long chartType);

// The chart type whose type name equals the text exactly, 0 when none does. Cannot fail.
Long typeOfName(StringView name);

// The type names of a group (0 All to 7 XY Plot Charts) in the catalogue's listing order; no
// names for any other value. Cannot fail.
std::vector<String> groupNames(Long group);

// The sample chart XML for a chart type, "" for a value outside 1 to 37. Cannot fail.
const String& sampleXML(Long chartType);

} // namespace plotara::catalogue

// `plotara types`: the chart catalogue as a table.
#pragma once

#include <string>

namespace plotara::apps {

// One line per chart type in number order: number, name, group, and the movie files of the full
// and the light edition ("-" where the light edition has none), under a header line.
std::string typesTable();

} // namespace plotara::apps

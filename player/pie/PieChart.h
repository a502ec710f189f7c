// Pie and doughnut charts, the family drawn by pie/PieChart.cpp.
#pragma once

#include "player/detail/ChartMovie.h"
#include "player/layout/Frame.h"

namespace plotara::player {

// Pie and doughnut charts, flat or 3D. Returns false when the document has nothing this family can
// draw; cannot fail.
bool renderPie(ChartContext& ctx, const ChartMovie& movie);

} // namespace plotara::player

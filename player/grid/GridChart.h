// The grid chart, the family drawn by grid/GridChart.cpp.
#pragma once

#include "player/layout/Frame.h"

namespace plotara::player {

// The grid chart, a table of labels and values shaped by the grid parameters. Returns false when
// the document has nothing this family can draw; cannot fail.
bool renderGrid(ChartContext& ctx, const Attributes& gridParams);

} // namespace plotara::player

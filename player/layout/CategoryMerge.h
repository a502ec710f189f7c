// A transition between category charts whose categories differ. The frame is laid out over the
// categories of both charts: those the new chart lacks are put back where they stood (after the
// category they followed), with no values, so that their points shrink out from their old values;
// and each category takes a share of a slot that moves with the frame: a leaving category's slot
// narrows from a whole one to nothing, a new category's widens from nothing, so that the kept
// categories slide from their old places to their new ones and the last frame is the still
// picture.
#pragma once

#include "player/model/ChartModel.h"

#include <optional>
#include <string>
#include <vector>

namespace plotara::player {

struct CategoryMerge {
    ChartModel model;               // the new chart with the leaving categories put back
    std::vector<double> slotShares; // per category of model: the share of a slot it takes now
    std::vector<int> positions;     // per category of model: its position in the new chart, or -1
};

// The merged chart at `share` (0: the chart before, 1: the new one) of the way from the chart
// whose categories are `before` (as categoryKey names them) to `now`; nothing when both have the
// same categories. Cannot fail beyond running out of memory.
std::optional<CategoryMerge> mergeCategories(const ChartModel& now,
                                             const std::vector<std::string>& before, double share);

} // namespace plotara::player

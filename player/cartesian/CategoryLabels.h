// Category labels that never collide: horizontal when they fit, then staggered on two rows,
// then slanted at 45 degrees when every label still fits, then turned upright, and thinned out
// (every n-th label) when even that is too tight.
#pragma once

#include "player/draw/TextEngine.h"
#include "player/model/Attributes.h"

#include <string>
#include <string_view>
#include <vector>

namespace plotara::player {

struct CategoryLabelPlan {
    enum class Mode { Horizontal, Stagger, Slant, Rotate } mode = Mode::Horizontal;
    std::size_t step = 1;    // every step-th label is drawn
    double extent = 0;       // room needed below the axis (or beside it for bars)
    double maxTextWidth = 0; // texts longer than this are ellipsized
    double lineHeight = 0;
};

// Whether the chart shows its category labels at all: not with showNames (showLabels) '0' or
// labelDisplay NONE. Hidden labels take no room and are not drawn. Cannot fail.
bool categoryLabelsShown(const Attributes& chart);
// Plans labels under an upright plot whose categories are `slot` apart. rotateNames ('1' turns,
// '0' never turns), slantLabels ('1' turns by 45 degrees rather than 90, '0' never slants),
// labelDisplay (ROTATE, STAGGER, AUTO) and staggerLines are read from the chart
// attributes; maxExtent bounds the height. Cannot fail.
CategoryLabelPlan planColumnLabels(TextEngine& text, const std::vector<std::string_view>& labels,
                                   const Font& font, double slot, const Attributes& chart,
                                   double maxExtent);
// Plans labels beside a lying plot (bars): always horizontal, ellipsized to maxWidth, thinned
// when the rows are closer than a line. Cannot fail.
CategoryLabelPlan planBarLabels(TextEngine& text, const std::vector<std::string_view>& labels,
                                const Font& font, double slot, double maxWidth);

} // namespace plotara::player

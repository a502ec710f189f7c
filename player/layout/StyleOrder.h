// The font styles a chart object gets from the document's style applications, found in time
// linear in the numbers of styles and applications.
#pragma once

#include "player/model/ChartModel.h"

#include <string_view>
#include <vector>

namespace plotara::player {

// The font style definitions to apply to the object, in the order that gives the same font as
// applying, for every application to the object in document order, every font definition of
// its style name in definition order. Each style name counts at its last application only:
// applying a style again after others overrides what they set, so its earlier applications
// cannot show. Cannot fail.
std::vector<const StyleDefinition*> fontStylesFor(const ChartModel& model, std::string_view object);

} // namespace plotara::player

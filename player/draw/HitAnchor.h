// A point inside a hit region, where a host can point at it (keyboard focus, a screen reader's
// element, a test's click) without searching the region's box.
#pragma once

#include "player/draw/HitRegion.h"

namespace plotara::player {

// The box centre for rectangles and circles; a wedge's middle (mid-angle, mid-radius); for a
// polygon the middle of the widest span of its interior along the horizontal line through its
// box's middle. The point lies inside the region whenever the region has an interior. Cannot
// fail.
Point anchorOf(const HitRegion& region);

} // namespace plotara::player

// The hit regions of a scene as one list in drawing order, and the box each one covers.
#pragma once

#include "player/draw/Scene.h"

#include <vector>

namespace plotara::player {

// The axis-aligned box a region covers (a wedge's box is that of its arc and centre or inner
// arc). Cannot fail.
Rect boundsOf(const HitRegion& region);

// Every region of the scene, bottom to top: the regions of `hits` with the points of
// `pointHits` placed after the regions drawn before them. The points come as circle regions
// whose texts are left to be worked out (lazyText). Cannot fail beyond running out of memory.
std::vector<HitRegion> allHitRegions(const Scene& scene);

} // namespace plotara::player

// Cairo names the surfaces of an SVG document after a counter that is shared by the whole
// process ("surface29" for the 29th surface made), so the same chart would come out with other
// bytes after other charts had been drawn, or on another thread. The ids are renumbered in the
// order they first appear, which makes a document depend on its chart alone.
#pragma once

#include <string>

namespace plotara::player {

// Renumbers every surface id (id="surfaceN") and every reference to one ("#surfaceN" after a
// quote or an opening parenthesis) from 1. Other text, labels included, is left alone. Cannot
// fail beyond allocation.
void renumberSurfaceIds(std::string& svg);

} // namespace plotara::player

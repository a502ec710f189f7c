// Long opaque polylines on raster targets: stroked in overlapping pieces, and on an image surface
// by two threads at once (the pieces left and right of the middle), with the pixels of one pass.
#pragma once

#include "player/draw/Scene.h"

#include <vector>

typedef struct _cairo cairo_t;

namespace plotara::player {

// Whether a shape is a long opaque solid polyline of moves and lines, which a raster target
// strokes in pieces (strokeLines). Cannot fail.
bool isPieceStroke(const ShapeItem& item);

// Strokes the lines (shapes isPieceStroke accepts) in order on cr, whose clip is the
// intersection of clips (user space rectangles, set with cr's current transform). With
// maxThreads above 1, long lines on an image surface are stroked by two threads when the work
// splits; the pixels are those of one pass. Returns how many threads stroked (1 or 2). cr's
// source, line width and path are left changed. Cannot fail: without a second thread the
// calling thread strokes everything.
int strokeLines(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips,
                int maxThreads = 2);

} // namespace plotara::player

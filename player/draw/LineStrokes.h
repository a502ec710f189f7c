// Long opaque polylines on raster targets: stroked in overlapping pieces, and on an image surface
// by two threads at once (the pieces left and right of the middle), with the pixels of one pass.
#pragma once

#include "player/draw/HelperThread.h"
#include "player/draw/Scene.h"

#include <vector>

typedef struct _cairo cairo_t;

namespace plotara::player {

// Whether a shape is a long opaque solid polyline of moves and lines, which a raster target
// strokes in pieces (strokeLines). Cannot fail.
bool isPieceStroke(const ShapeItem& item);

// Whether the scene's long lines are enough work for two threads on this machine, so that a
// raster output warms its HelperThread up before painting. Cannot fail.
bool wantsLineHelper(const Scene& scene);

// Strokes the lines (shapes isPieceStroke accepts) in order on cr, whose clip is the
// intersection of clips (user space rectangles, set with cr's current transform). With a
// helper, long lines on an image surface are stroked by two threads (the caller's and the
// helper's) when the work splits; the pixels are those of one pass. Returns 2 when the work was
// shared out to the two (a helper that comes late finds its pieces taken by the caller), 1 when
// the caller stroked in one pass. cr's source, line width and path are left changed. Cannot
// fail: without a second thread the calling thread strokes everything.
int strokeLines(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips,
                HelperThread* helper);

// As above, with a helper of its own when maxThreads is above 1. Cannot fail.
int strokeLines(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips,
                int maxThreads = 2);

} // namespace plotara::player

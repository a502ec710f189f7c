// What a player keeps from one raster paint to the next: the last surface, so that drawing the
// same size again reuses its memory, and the second thread that helps paint.
#pragma once

#include "player/draw/HelperThread.h"

typedef struct _cairo_surface cairo_surface_t;

namespace plotara::player {

// The pixel size of a scene of width x height chart units at a device pixel ratio: the ratio
// clamped to 0.25..8, each side rounded up, 1 to maxPictureSide pixels. Cannot fail.
struct PixelSize {
    int width = 1, height = 1;
};
PixelSize pixelSize(double width, double height, double pixelRatio) noexcept;
// A scene side as every output takes it: 0 to maxPictureSide chart units, 0 when not finite. Cannot
// fail.
double sceneSide(double side) noexcept;
// The ratio as painting uses it: clamped to 0.25..8, 1 when not finite.
double clampRatio(double pixelRatio) noexcept;

class RasterCache {
public:
    RasterCache() = default;
    ~RasterCache();
    RasterCache(const RasterCache&) = delete;
    RasterCache& operator=(const RasterCache&) = delete;
    // An ARGB surface of the size, owned by the cache: a new one when the size changed or
    // someone else still holds a reference to the last one (a picture handed out without a copy
    // stays as it was); otherwise the last one again, cleared unless `covered` says the paint
    // replaces every pixel first (an opaque background over the whole surface).
    cairo_surface_t* surface(int width, int height, bool covered = false);
    // The second thread of the paints (started by its warmUp).
    HelperThread& helper() noexcept { return helper_; }

private:
    cairo_surface_t* surface_ = nullptr;
    bool clear_ = false; // surface_ was never painted
    HelperThread helper_;
};

} // namespace plotara::player

#include "player/draw/RasterCache.h"

#include "platform/PictureSize.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace plotara::player {

namespace {

int pixelSide(double side, double ratio) {
    side = sceneSide(side);
    return std::clamp(static_cast<int>(std::ceil(side * ratio - 1e-9)), 1, maxPictureSide);
}

} // namespace

double sceneSide(double side) noexcept {
    return std::clamp(std::isfinite(side) ? side : 0.0, 0.0, double{maxPictureSide});
}

double clampRatio(double pixelRatio) noexcept {
    return std::clamp(std::isfinite(pixelRatio) ? pixelRatio : 1.0, 0.25, 8.0);
}

PixelSize pixelSize(double width, double height, double pixelRatio) noexcept {
    const double ratio = clampRatio(pixelRatio);
    return {pixelSide(width, ratio), pixelSide(height, ratio)};
}

RasterCache::~RasterCache() {
    if (surface_) cairo_surface_destroy(surface_);
}

cairo_surface_t* RasterCache::surface(int width, int height, bool covered) {
    if (surface_ && (cairo_image_surface_get_width(surface_) != width ||
                     cairo_image_surface_get_height(surface_) != height ||
                     cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS ||
                     cairo_surface_get_reference_count(surface_) > 1)) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }
    if (!surface_) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        clear_ = false;
        return surface_;
    }
    if (!clear_ && !covered) {
        cairo_t* cr = cairo_create(surface_);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    clear_ = false;
    return surface_;
}

} // namespace plotara::player

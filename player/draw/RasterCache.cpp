#include "player/draw/RasterCache.h"

#include "platform/PictureSize.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace plotara::player {

namespace {

int pixelSide(double side, double ratio) {
    side = sceneSide(side);
    return std::clamp(static_cast<int>(std::ceil(side * ratio - 1e-9)), 1, maxPictureSide);
}

// Pages of memory the kernel hands out one fault at a time.
constexpr std::size_t pageBytes = 4096;

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
    takePrepared();
    if (surface_) cairo_surface_destroy(surface_);
}

void RasterCache::Prepare::operator()() noexcept {
    RasterCache& c = *cache;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, c.preparedSize_.width,
                                                    c.preparedSize_.height);
    // The new pixels are zero already; writing a zero to each page makes the kernel map it now.
    if (unsigned char* data = cairo_image_surface_get_data(s)) {
        const std::size_t bytes = static_cast<std::size_t>(cairo_image_surface_get_stride(s)) *
                                  static_cast<std::size_t>(c.preparedSize_.height);
        volatile unsigned char* pixels = data;
        for (std::size_t at = 0; at < bytes; at += pageBytes)
            pixels[at] = 0;
    }
    c.prepared_ = s;
}

void RasterCache::prepare(PixelSize size) noexcept {
    takePrepared();
    if (surface_ && cairo_image_surface_get_width(surface_) == size.width &&
        cairo_image_surface_get_height(surface_) == size.height)
        return;
    preparedSize_ = size;
    preparing_ = helper_.start(prepare_);
}

void RasterCache::takePrepared() {
    if (!preparing_) return;
    preparing_ = false;
    helper_.finish(); // a withdrawn task leaves prepared_ empty
    if (!prepared_) return;
    if (surface_) cairo_surface_destroy(surface_);
    surface_ = prepared_;
    prepared_ = nullptr;
    clear_ = true;
}

cairo_surface_t* RasterCache::surface(int width, int height, bool covered) {
    takePrepared();
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

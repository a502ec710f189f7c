#include "player/draw/OutputBands.h"

#include "player/draw/CairoCanvas.h"
#include "player/draw/Output.h"
#include "player/draw/PngEncoder.h"

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <system_error>

namespace plotara::player {

namespace {

// Below this many pixels a second thread costs more than it saves.
constexpr long bandMinPixels = 160 * 1000;

// The paints running in the process: a band thread is started only when the caller is the only
// one, so hosts and pools that already keep the cores busy get no extra thread.
std::atomic<int>& paintsRunning() {
    static std::atomic<int> running{0};
    return running;
}

// Set on the threads of a pool that runs one paint per core (OneThreadPaint).
thread_local int keptToItself = 0;

} // namespace

OneThreadPaint::OneThreadPaint() {
    ++keptToItself;
}

OneThreadPaint::~OneThreadPaint() {
    --keptToItself;
}

PaintInFlight::PaintInFlight() {
    const int before = paintsRunning().fetch_add(1, std::memory_order_acq_rel);
    alone_ = before == 0 && keptToItself == 0;
}

PaintInFlight::~PaintInFlight() {
    paintsRunning().fetch_sub(1, std::memory_order_acq_rel);
}

int bandSplit(const RasterTarget& target, RasterBands mode, const PaintInFlight& flight) {
    if (mode == RasterBands::One || target.height < 2 || !target.data) return 0;
    if (mode == RasterBands::Auto &&
        (!flight.alone() || std::thread::hardware_concurrency() < 2 ||
         static_cast<long>(target.width) * target.height < bandMinPixels))
        return 0;
    // The bands are those of the PNG's image data, so that each thread compresses its own rows.
    return pngBandSplit(target.height);
}

namespace {

// Paints rows [first, first + count) of the picture into `pixels`, whose first row is the
// picture's row `first`.
void paintRowsInto(unsigned char* pixels, const RasterTarget& target, const Scene& scene,
                   TextEngine& text, int first, int count) {
    if (count <= 0) return;
    cairo_surface_t* band = cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32,
                                                                target.width, count, target.stride);
    cairo_t* cr = cairo_create(band);
    // A whole number of pixels: every edge falls on the same sub-pixel position as in one paint.
    cairo_translate(cr, 0, -first);
    cairo_scale(cr, target.ratio, target.ratio);
    {
        CairoCanvas canvas(cr, text, target.ratio);
        canvas.limitToRows(first / target.ratio, (first + count) / target.ratio);
        paintScene(scene, canvas);
    }
    cairo_destroy(cr);
    cairo_surface_flush(band);
    cairo_surface_destroy(band);
}

} // namespace

void paintRows(const RasterTarget& target, const Scene& scene, TextEngine& text, int first,
               int count) {
    paintRowsInto(target.data + static_cast<std::ptrdiff_t>(first) * target.stride, target, scene,
                  text, first, count);
}

void paintUpperBand(const RasterTarget& target, const Scene& scene, TextEngine& text, int split) {
    paintRows(target, scene, text, 0, std::min(target.height, split + bandMargin));
}

std::jthread paintLowerBand(const RasterTarget& target, const Scene& scene, TextEngine& text,
                            int split, bool compress, LowerBand& band) {
    try {
        return std::jthread([target, &scene, &text, split, compress, &band] {
            band.split = split;
            band.margin = std::min(split, bandMargin);
            const int rows = target.height - split;
            band.pixels.assign(static_cast<std::size_t>(rows + band.margin) * target.stride, 0);
            paintRowsInto(band.pixels.data(), target, scene, text, split - band.margin,
                          rows + band.margin);
            if (!compress) return;
            const unsigned char* own =
                band.pixels.data() + static_cast<std::ptrdiff_t>(band.margin) * target.stride;
            band.png = deflateBand(own, target.width, rows, target.stride,
                                   opaqueRows(own, target.width, rows, target.stride), true);
        });
    } catch (const std::system_error&) {
        return {}; // no thread to be had: the caller paints the band
    }
}

void copyLowerBand(const RasterTarget& target, const LowerBand& band) {
    std::memcpy(target.data + static_cast<std::ptrdiff_t>(band.split) * target.stride,
                band.pixels.data() + static_cast<std::ptrdiff_t>(band.margin) * target.stride,
                static_cast<std::size_t>(target.height - band.split) * target.stride);
}

} // namespace plotara::player

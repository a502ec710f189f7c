#include "player/draw/OutputBands.h"

#include "player/draw/CairoCanvas.h"
#include "player/draw/Output.h"
#include "player/draw/PngEncoder.h"

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
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

bool coreFree() {
    const unsigned cores = std::thread::hardware_concurrency();
    if (cores < 2) return false;
    // The kernel's count of threads running or waiting to run right now, this one included.
    std::FILE* stat = std::fopen("/proc/stat", "re");
    if (!stat) return false;
    char line[256];
    long running = -1;
    while (std::fgets(line, sizeof line, stat)) {
        if (std::sscanf(line, "procs_running %ld", &running) == 1) break;
    }
    std::fclose(stat);
    return running >= 1 && running < static_cast<long>(cores);
}

int bandSplit(const RasterTarget& target, RasterBands mode, const PaintInFlight& flight) {
    if (mode == RasterBands::One || target.height < 2 || !target.data) return 0;
    if (mode == RasterBands::Auto &&
        (!flight.alone() || static_cast<long>(target.width) * target.height < bandMinPixels ||
         !coreFree()))
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

LowerBand::LowerBand(const RasterTarget& target, const Scene& scene, TextEngine& text, int split,
                     bool compress)
    : target_(target), scene_(scene), text_(text), split_(split),
      margin_(std::min(split, bandMargin)), compress_(compress) {}

bool LowerBand::take() {
    if (taken_.exchange(true, std::memory_order_acq_rel)) return false;
    const int rows = target_.height - split_;
    pixels_.assign(static_cast<std::size_t>(rows + margin_) * target_.stride, 0);
    paintRowsInto(pixels_.data(), target_, scene_, text_, split_ - margin_, rows + margin_);
    if (compress_) {
        const unsigned char* own =
            pixels_.data() + static_cast<std::ptrdiff_t>(margin_) * target_.stride;
        png_ = deflateBand(own, target_.width, rows, target_.stride,
                           opaqueRows(own, target_.width, rows, target_.stride), true);
    }
    return true;
}

void LowerBand::copyInto(const RasterTarget& target) const {
    std::memcpy(target.data + static_cast<std::ptrdiff_t>(split_) * target.stride,
                pixels_.data() + static_cast<std::ptrdiff_t>(margin_) * target.stride,
                static_cast<std::size_t>(target.height - split_) * target.stride);
}

std::jthread startLowerBand(const std::shared_ptr<LowerBand>& band) {
    try {
        // The thread keeps the band alive: when the caller took the band first, the thread may
        // start after the picture is done, and then only finds the band taken.
        return std::jthread([band] { band->take(); });
    } catch (const std::system_error&) {
        return {}; // no thread to be had: the caller paints the band
    }
}

void finishLowerBand(LowerBand& band, std::jthread& thread) {
    if (band.take()) {
        if (thread.joinable()) thread.detach();
        return;
    }
    thread.join();
}

} // namespace plotara::player

// A raster painted in two horizontal bands on two threads: each band is a cairo surface over rows
// of its own, translated by a whole number of pixels, with the same scene drawn on it and a margin
// of rows past its edge, so the pixels kept are those of one paint.
#pragma once

#include "player/draw/PngBands.h"
#include "player/draw/Scene.h"
#include "player/draw/TextEngine.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace plotara::player {

enum class RasterBands;

// The pixels of an image surface and the scale they are painted at.
struct RasterTarget {
    cairo_surface_t* surface = nullptr;
    unsigned char* data = nullptr;
    int width = 0, height = 0, stride = 0;
    double ratio = 1;
};

// Counts the paints running in the process while alive, so that a paint can tell whether it is
// alone. Cannot fail.
class PaintInFlight {
public:
    PaintInFlight();
    ~PaintInFlight();
    PaintInFlight(const PaintInFlight&) = delete;
    PaintInFlight& operator=(const PaintInFlight&) = delete;
    // True when no other paint runs and this thread has not been kept to itself. Cannot fail.
    bool alone() const { return alone_; }

private:
    bool alone_ = false;
};

// Whether a core is idle right now (fewer threads running or ready to run than cores, from
// /proc/stat): on a busy machine a second thread waits for a core, and the picture is done later
// than on one. False when that cannot be read. Cannot fail.
bool coreFree();

// The first row of the second band, or 0 to paint in one piece: Auto bands pictures of at least
// 160,000 pixels when the paint is alone and a core is free. Cannot fail.
int bandSplit(const RasterTarget& target, RasterBands mode, const PaintInFlight& flight);

// Rows each band paints beyond its edge: cairo's scan conversion of an outline that leaves the
// surface can differ in the last rows before the surface's edge, so no band ends where its
// pixels are kept.
constexpr int bandMargin = 64;

// Paints `count` rows from row `first` of the target. Cannot fail (cairo records its errors).
void paintRows(const RasterTarget& target, const Scene& scene, TextEngine& text, int first,
               int count);

// Paints the rows above `split` in place, and bandMargin rows below it that copyLowerBand then
// replaces. Cannot fail.
void paintUpperBand(const RasterTarget& target, const Scene& scene, TextEngine& text, int split);

// The rows from `split` down, painted into pixels of their own (with up to bandMargin rows above
// them) by whichever thread takes them first, and compressed there as the last band of a PNG
// when asked.
class LowerBand {
public:
    // Nothing is painted yet; the scene and text engine must outlive the take. Cannot fail.
    LowerBand(const RasterTarget& target, const Scene& scene, TextEngine& text, int split,
              bool compress);
    LowerBand(const LowerBand&) = delete;
    LowerBand& operator=(const LowerBand&) = delete;

    // Paints (and compresses) the band unless another thread took it; true when this call did.
    // Never throws but for out of memory.
    bool take();
    // Copies the painted rows into the picture, after the band is done. Cannot fail.
    void copyInto(const RasterTarget& target) const;
    // The compressed rows, after the band is done. Cannot fail.
    PngBand& png() { return png_; }

private:
    RasterTarget target_;
    const Scene& scene_;
    TextEngine& text_;
    int split_, margin_;
    bool compress_;
    std::atomic<bool> taken_{false};
    std::vector<unsigned char> pixels_;
    PngBand png_;
};

// Starts a thread that takes the band; an empty thread when none could be started. Never throws.
std::jthread startLowerBand(const std::shared_ptr<LowerBand>& band);

// Waits for the lower band: takes it on the calling thread when the second thread has not got to
// it yet (which then ends on its own), else waits for that thread. A caller on a busy machine so
// never waits for a thread that is not running. Never throws but for out of memory.
void finishLowerBand(LowerBand& band, std::jthread& thread);

} // namespace plotara::player

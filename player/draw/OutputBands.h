// A raster painted in two horizontal bands on two threads: each band is a cairo surface over its
// own rows of the one picture, translated by a whole number of pixels, with the same scene drawn
// on it, so the pixels are those of one paint.
#pragma once

#include "player/draw/PngBands.h"
#include "player/draw/Scene.h"
#include "player/draw/TextEngine.h"

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

// The first row of the second band, or 0 to paint in one piece: Auto bands pictures of at least
// bandMinPixels when the paint is alone and the machine has two cores. Cannot fail.
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

// The rows from `split` down, painted on a thread of their own into pixels of their own (with
// `margin` rows above them), and compressed there as the last band of a PNG when asked.
struct LowerBand {
    std::vector<unsigned char> pixels;
    int split = 0, margin = 0;
    PngBand png;
};

// Paints the lower band on a new thread; the thread is empty (not joinable) when none could be
// started, and the caller paints the whole picture itself. `band` must outlive the thread.
// Never throws.
std::jthread paintLowerBand(const RasterTarget& target, const Scene& scene, TextEngine& text,
                            int split, bool compress, LowerBand& band);

// Copies a painted lower band into the picture, after its thread ended. Cannot fail.
void copyLowerBand(const RasterTarget& target, const LowerBand& band);

} // namespace plotara::player

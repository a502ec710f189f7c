// The Canvas over a cairo context: one implementation for image, SVG and PDF surfaces.
#pragma once

#include "player/draw/Canvas.h"
#include "player/draw/HelperThread.h"
#include "player/draw/SvgDirect.h"
#include "player/draw/TextEngine.h"

#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace plotara::player {

class CairoCanvas : public Canvas {
public:
    // Draws on cr, whose user space is chart units; scale is the device pixel ratio of a raster
    // target (markers are pre-drawn at it), 0 for vector targets. With svgDirect, large marker
    // sets and long polylines are handed to it for writing and only a placeholder is drawn.
    CairoCanvas(cairo_t* cr, TextEngine& text, double rasterScale, SvgDirect* svgDirect = nullptr);
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    void shape(const ShapeItem& item) override;
    // On raster targets the part inside covered (rounded inwards to whole device pixels) is left
    // out: the pixels come out the same, as the later shape replaces them all.
    void shapeAround(const ShapeItem& item, const Rect& covered) override;
    void text(const TextItem& item) override;
    void markers(const MarkerItem& item) override;
    void pushClip(const Rect& rect) override;
    void popClip() override;
    // The second thread that strokes the long lines of a raster target with the caller's
    // (strokeLines); none (the default) strokes them on the caller's thread alone. The helper
    // must outlive the canvas.
    void setLineHelper(HelperThread* helper) noexcept { lineHelper_ = helper; }

private:
    void stampRaster(const MarkerItem& item);
    void stampVector(const MarkerItem& item);
    // Strokes the waiting long lines (strokeLines), in order, with the current clip.
    void flushLines();

    cairo_t* cr_;
    TextEngine& textEngine_;
    double rasterScale_;
    SvgDirect* svgDirect_;
    std::vector<Rect> clips_;
    // Long opaque lines of a raster target, waiting to be stroked together; copies, which share
    // their paths' points with the scene's.
    std::vector<ShapeItem> lines_;
    HelperThread* lineHelper_ = nullptr;
};

} // namespace plotara::player

// Buys (renderShared, and no clear under an opaque background): a live 12-column chart in a window
// 609 to about 910 frames per CPU second (bench/live/run.sh, medians of 3 x 150 frames, perf).
#include "player/draw/Output.h"

#include "player/draw/SvgCanvas.h"
#include "player/draw/SvgIds.h"

#include "player/draw/CairoCanvas.h"
#include "player/draw/LineStrokes.h"
#include "player/draw/PngEncoder.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace plotara::player {

std::uint32_t ArgbImage::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    std::uint32_t v;
    std::memcpy(&v, pixels.data() + static_cast<std::size_t>(y) * stride + x * 4, 4);
    return v;
}

namespace {

cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Whether painting the scene replaces every pixel first: its background (painted before
// everything) is opaque and ends exactly on the last pixel, so old pixels need no clearing.
bool coversSurface(const Scene& scene, double ratio, PixelSize size) {
    return scene.background.a >= 1 && scene.width * ratio == size.width &&
           scene.height * ratio == size.height;
}

// The painted surface; with a cache it belongs to the cache, otherwise to the caller.
cairo_surface_t* paintRaster(const Scene& scene, TextEngine& text, double ratio, RasterCache* cache,
                             int paintThreads) {
    ratio = clampRatio(ratio);
    const PixelSize size = pixelSize(scene.width, scene.height, ratio);
    cairo_surface_t* surface =
        cache ? cairo_surface_reference(
                    cache->surface(size.width, size.height, coversSurface(scene, ratio, size)))
              : cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.width, size.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return surface;
    // The second thread: the cache's, kept from paint to paint, or one for this paint.
    std::optional<HelperThread> ownHelper;
    HelperThread* helper = nullptr;
    if (paintThreads > 1 && wantsLineHelper(scene)) {
        helper = cache ? &cache->helper() : &ownHelper.emplace();
        helper->warmUp();
    }
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, ratio, ratio);
    {
        CairoCanvas canvas(cr, text, ratio);
        canvas.setLineHelper(helper);
        paintScene(scene, canvas);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

void paintVector(cairo_surface_t* surface, const Scene& scene, TextEngine& text,
                 SvgDirect* svgDirect = nullptr) {
    cairo_t* cr = cairo_create(surface);
    {
        CairoCanvas canvas(cr, text, 0, svgDirect);
        paintScene(scene, canvas);
    }
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
}

} // namespace

ArgbImage renderArgb(const Scene& scene, TextEngine& text, double pixelRatio, RasterCache* cache,
                     int paintThreads) {
    ArgbImage image;
    cairo_surface_t* surface = paintRaster(scene, text, pixelRatio, cache, paintThreads);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        image.width = cairo_image_surface_get_width(surface);
        image.height = cairo_image_surface_get_height(surface);
        image.stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        image.pixels.assign(data, data + static_cast<std::size_t>(image.stride) * image.height);
    }
    cairo_surface_destroy(surface);
    return image;
}

SharedArgb renderShared(const Scene& scene, TextEngine& text, double pixelRatio, RasterCache& cache,
                        int paintThreads) {
    SharedArgb image;
    cairo_surface_t* surface = paintRaster(scene, text, pixelRatio, &cache, paintThreads);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return image;
    }
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    image.stride = cairo_image_surface_get_stride(surface);
    image.pixels = cairo_image_surface_get_data(surface);
    const double ratio = clampRatio(pixelRatio);
    image.opaque = coversSurface(scene, ratio, pixelSize(scene.width, scene.height, ratio));
    // The reference paintRaster took is the picture's: while it lives the cache paints elsewhere.
    image.hold = std::shared_ptr<const void>(surface, cairo_surface_destroy);
    return image;
}

std::string renderPng(const Scene& scene, TextEngine& text, double pixelRatio, RasterCache* cache,
                      int paintThreads) {
    std::string out;
    cairo_surface_t* surface = paintRaster(scene, text, pixelRatio, cache, paintThreads);
    // The cache's helper, when started (for the lines, or ahead by warmUpPaintThreads),
    // compresses half the picture.
    HelperThread* helper = cache && paintThreads > 1 ? &cache->helper() : nullptr;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) out = encodePng(surface, helper);
    cairo_surface_destroy(surface);
    return out;
}

namespace {

std::string writeSvg(const Scene& scene, TextEngine& text, SvgDirect* svgDirect) {
    std::string out;
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(
        appendToString, &out, std::max(1.0, sceneSide(scene.width)),
        std::max(1.0, sceneSide(scene.height)));
    cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    paintVector(surface, scene, text, svgDirect);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) out.clear();
    cairo_surface_destroy(surface);
    renumberSurfaceIds(out);
    return out;
}

} // namespace

std::string renderSvg(const Scene& scene, TextEngine& text, SvgTextMode mode) {
    if (mode == SvgTextMode::Text) return writeSvgDocument(scene, text);
    SvgDirect direct;
    std::string out = writeSvg(scene, text, &direct);
    // Should a placeholder not come out as written (or cairo fail), cairo draws everything
    // itself.
    if (direct.empty()) return out;
    if (out.empty() || !direct.substitute(out)) out = writeSvg(scene, text, nullptr);
    return out;
}

std::string renderPdf(const Scene& scene, TextEngine& text) {
    std::string out;
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
        appendToString, &out, std::max(1.0, sceneSide(scene.width)),
        std::max(1.0, sceneSide(scene.height)));
    paintVector(surface, scene, text);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) out.clear();
    cairo_surface_destroy(surface);
    return out;
}

} // namespace plotara::player

// Buys (the chart's background left out under the plot area's opaque rectangle, which paints
// every one of those pixels again): 11 to 18% more frames a second of the live 12-column chart in
// a 1280 x 800 window (bench/live, --only data --workload column, interleaved runs), the same
// pixels.
#include "player/draw/CairoCanvas.h"

#include "player/draw/LineStrokes.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <utility>

namespace plotara::player {

std::optional<Rect> axisRect(const Path& path) {
    const std::vector<PathSeg>& s = path.segments();
    if (s.size() != 5 || s[0].op != PathOp::Move || s[1].op != PathOp::Line ||
        s[2].op != PathOp::Line || s[3].op != PathOp::Line || s[4].op != PathOp::Close)
        return std::nullopt;
    const bool across =
        s[1].y == s[0].y && s[2].x == s[1].x && s[3].y == s[2].y && s[3].x == s[0].x;
    const bool down = s[1].x == s[0].x && s[2].y == s[1].y && s[3].x == s[2].x && s[3].y == s[0].y;
    if (!across && !down) return std::nullopt;
    const double x0 = std::min(s[0].x, s[2].x), y0 = std::min(s[0].y, s[2].y);
    return Rect{x0, y0, std::max(s[0].x, s[2].x) - x0, std::max(s[0].y, s[2].y) - y0};
}

namespace {

// The first opaque filled rectangle among the scene's first items that no clip cuts (on most
// charts the plot area's background): everything painted before it is hidden where it lies.
std::optional<Rect> firstOpaqueRect(const Scene& scene) {
    constexpr std::size_t looked = 64;
    int clips = 0;
    for (std::size_t i = 0; i < std::min(looked, scene.items.size()); ++i) {
        const SceneItem& item = scene.items[i];
        if (std::holds_alternative<ClipPush>(item)) ++clips;
        if (std::holds_alternative<ClipPop>(item)) --clips;
        const ShapeItem* shape = std::get_if<ShapeItem>(&item);
        if (clips == 0 && shape && shape->filled && shape->fill.a >= 1) {
            if (std::optional<Rect> rect = axisRect(shape->path)) return rect;
        }
    }
    return std::nullopt;
}

} // namespace

void paintScene(const Scene& scene, Canvas& canvas) {
    ShapeItem background;
    background.path.rect({0, 0, scene.width, scene.height});
    background.filled = true;
    background.fill = scene.background;
    if (const std::optional<Rect> covered = firstOpaqueRect(scene)) {
        canvas.shapeAround(background, *covered);
    } else {
        canvas.shape(background);
    }
    // The series the canvas was told of, and the one the items (not the rectangles) draw.
    int told = -1, items = -1;
    const auto tell = [&](int series) {
        if (series != told) canvas.seriesMark(told = series);
    };
    for (const SceneItem& item : scene.items) {
        std::visit(
            [&](const auto& it) {
                using T = std::decay_t<decltype(it)>;
                if constexpr (std::is_same_v<T, ShapeItem>) {
                    canvas.shape(it);
                } else if constexpr (std::is_same_v<T, TextItem>) {
                    canvas.text(it);
                } else if constexpr (std::is_same_v<T, MarkerItem>) {
                    canvas.markers(it);
                } else if constexpr (std::is_same_v<T, ClipPush>) {
                    canvas.pushClip(it.rect);
                } else if constexpr (std::is_same_v<T, SeriesMark>) {
                    tell(items = it.series);
                } else if constexpr (std::is_same_v<T, RectRun>) {
                    // Each rectangle is painted as its own shape, made for the call: a filled
                    // shape is never kept past it (only stroked polylines are deferred).
                    for (std::size_t i = it.first; i < it.first + it.count; ++i) {
                        tell(scene.rects[i].series);
                        canvas.shape(shapeOf(scene.rects[i], scene.rectLooks));
                    }
                    tell(items);
                } else {
                    canvas.popClip();
                }
            },
            item);
    }
}

namespace {

void setColor(cairo_t* cr, const Color& c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void tracePath(cairo_t* cr, const Path& path) {
    cairo_new_path(cr);
    for (const PathSeg& s : path.segments()) {
        switch (s.op) {
        case PathOp::Move:
            cairo_move_to(cr, s.x, s.y);
            break;
        case PathOp::Line:
            cairo_line_to(cr, s.x, s.y);
            break;
        case PathOp::Close:
            cairo_close_path(cr);
            break;
        case PathOp::Arc:
        case PathOp::ArcNegative: {
            if (s.rx <= 0 || s.ry <= 0) {
                cairo_line_to(cr, s.x, s.y);
                break;
            }
            cairo_save(cr);
            cairo_translate(cr, s.x, s.y);
            cairo_scale(cr, s.rx, s.ry);
            if (s.op == PathOp::Arc) {
                cairo_arc(cr, 0, 0, 1, s.a0, s.a1);
            } else {
                cairo_arc_negative(cr, 0, 0, 1, s.a0, s.a1);
            }
            cairo_restore(cr);
            break;
        }
        }
    }
}

void applyStroke(cairo_t* cr, const Stroke& s) {
    setColor(cr, s.color);
    cairo_set_line_width(cr, std::max(s.width, 0.1));
    if (s.dash > 0) {
        double d[2] = {s.dash, s.gap > 0 ? s.gap : s.dash};
        cairo_set_dash(cr, d, 2, 0);
    } else {
        cairo_set_dash(cr, nullptr, 0, 0);
    }
}

void traceMarker(cairo_t* cr, double cx, double cy, int sides, double r) {
    cairo_new_path(cr);
    if (sides < 3) {
        cairo_arc(cr, cx, cy, r, 0, 2 * std::numbers::pi);
        return;
    }
    sides = std::min(sides, 20);
    for (int i = 0; i < sides; ++i) {
        double a = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / sides;
        double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
        if (i == 0) {
            cairo_move_to(cr, x, y);
        } else {
            cairo_line_to(cr, x, y);
        }
    }
    cairo_close_path(cr);
}

void drawMarker(cairo_t* cr, const MarkerItem& m, double cx, double cy) {
    traceMarker(cr, cx, cy, m.sides, m.radius);
    setColor(cr, m.fill);
    if (m.bordered) {
        cairo_fill_preserve(cr);
        applyStroke(cr, m.border);
        cairo_stroke(cr);
    } else {
        cairo_fill(cr);
    }
}

} // namespace

CairoCanvas::CairoCanvas(cairo_t* cr, TextEngine& text, double rasterScale, SvgDirect* svgDirect)
    : cr_(cr), textEngine_(text), rasterScale_(rasterScale), svgDirect_(svgDirect) {
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

CairoCanvas::~CairoCanvas() {
    flushLines();
    while (!clips_.empty())
        popClip();
}

void CairoCanvas::shape(const ShapeItem& item) {
    if (item.path.empty()) return;
    // Long lines on raster targets wait for the next item of another kind, so that a chart's
    // lines (edges, then lines) are stroked together.
    if (rasterScale_ > 0 && isPieceStroke(item)) {
        lines_.push_back(item);
        return;
    }
    flushLines();
    if (svgDirect_ && item.path.segments().size() > 64 &&
        svgDirect_->defer(cr_, item, clips_.empty() ? nullptr : &clips_.back()))
        return;
    tracePath(cr_, item.path);
    if (item.filled) {
        setColor(cr_, item.fill);
        if (item.stroked) {
            cairo_fill_preserve(cr_);
        } else {
            cairo_fill(cr_);
        }
    }
    if (item.stroked) {
        applyStroke(cr_, item.stroke);
        cairo_stroke(cr_);
    }
}

void CairoCanvas::shapeAround(const ShapeItem& item, const Rect& covered) {
    const std::optional<Rect> outer = axisRect(item.path);
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    if (rasterScale_ <= 0 || svgDirect_ || !outer || !item.filled || item.stroked ||
        !clips_.empty() || m.xy != 0 || m.yx != 0) {
        shape(item);
        return;
    }
    // The hole: the covered pixels inside the item, in whole device pixels.
    double x0 = std::max(covered.x, outer->x), y0 = std::max(covered.y, outer->y);
    double x1 = std::min(covered.right(), outer->right());
    double y1 = std::min(covered.bottom(), outer->bottom());
    cairo_user_to_device(cr_, &x0, &y0);
    cairo_user_to_device(cr_, &x1, &y1);
    const double dx0 = std::ceil(std::min(x0, x1)), dx1 = std::floor(std::max(x0, x1));
    const double dy0 = std::ceil(std::min(y0, y1)), dy1 = std::floor(std::max(y0, y1));
    if (!(dx1 > dx0) || !(dy1 > dy0)) {
        shape(item);
        return;
    }
    flushLines();
    tracePath(cr_, item.path);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_rectangle(cr_, dx0, dy0, dx1 - dx0, dy1 - dy0);
    cairo_restore(cr_);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    setColor(cr_, item.fill);
    cairo_fill(cr_);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
}

void CairoCanvas::flushLines() {
    if (lines_.empty()) return;
    strokeLines(cr_, lines_, clips_, lineHelper_);
    lines_.clear();
}

void CairoCanvas::text(const TextItem& item) {
    flushLines();
    if (item.text.empty()) return;
    textEngine_.draw(cr_, item);
}

void CairoCanvas::markers(const MarkerItem& item) {
    flushLines();
    if (item.points.empty()) return;
    if (item.points.size() < 16) {
        for (const Point& p : item.points)
            drawMarker(cr_, item, p.x, p.y);
        return;
    }
    if (svgDirect_ && svgDirect_->defer(cr_, item, clips_.empty() ? nullptr : &clips_.back()))
        return;
    if (rasterScale_ > 0 &&
        cairo_surface_get_type(cairo_get_target(cr_)) == CAIRO_SURFACE_TYPE_IMAGE) {
        stampRaster(item);
    } else {
        stampVector(item);
    }
}

namespace {

// A marker pre-drawn at one sub-pixel offset, with the span of covered pixels of every row.
struct Stamp {
    cairo_surface_t* surface = nullptr;
    std::vector<std::pair<int, int>> rows; // [first, last) covered column of each row
};

// Source-over of a premultiplied pixel, two channels at a time (exact to within one level).
inline std::uint32_t over(std::uint32_t src, std::uint32_t dst) {
    std::uint32_t inv = 255 - (src >> 24);
    std::uint32_t rb = (dst & 0x00FF00FFu) * inv + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = ((dst >> 8) & 0x00FF00FFu) * inv + 0x00800080u;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return src + (rb | ag);
}

// Draws the marker into a square of `size` device pixels with its centre at `centre` plus the
// sub-pixel offset (ox, oy), and finds the covered span of every row; false when the image
// surface has no pixels.
bool predraw(Stamp& st, const MarkerItem& item, int size, int centre, double ox, double oy,
             double scale) {
    st.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* sc = cairo_create(st.surface);
    cairo_scale(sc, scale, scale);
    drawMarker(sc, item, (centre + ox) / scale, (centre + oy) / scale);
    cairo_destroy(sc);
    cairo_surface_flush(st.surface);
    const unsigned char* data = cairo_image_surface_get_data(st.surface);
    if (!data) return false;
    int stride = cairo_image_surface_get_stride(st.surface);
    st.rows.assign(static_cast<std::size_t>(size), {0, 0});
    for (int y = 0; y < size; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        int first = 0, last = size;
        while (first < size && row[first] == 0)
            ++first;
        while (last > first && row[last - 1] == 0)
            --last;
        st.rows[static_cast<std::size_t>(y)] = {first, last};
    }
    return true;
}

// An image surface's pixels, mapped for writing.
struct Pixels {
    unsigned char* data = nullptr;
    int width = 0, height = 0, stride = 0;
};

// Composites the covered pixels of a stamp with its top left corner at device pixel (ox, oy),
// cut at the image's edges.
void composite(const Stamp& st, int size, const Pixels& dst, int ox, int oy) {
    const unsigned char* src = cairo_image_surface_get_data(st.surface);
    int sstride = cairo_image_surface_get_stride(st.surface);
    for (int y = std::max(0, -oy); y < size && oy + y < dst.height; ++y) {
        auto [first, last] = st.rows[static_cast<std::size_t>(y)];
        first = std::max(first, -ox);
        last = std::min(last, dst.width - ox);
        const auto* s = reinterpret_cast<const std::uint32_t*>(src + y * sstride);
        auto* d = reinterpret_cast<std::uint32_t*>(dst.data + (oy + y) * dst.stride) + ox;
        for (int x = first; x < last; ++x) {
            std::uint32_t sp = s[x];
            if ((sp >> 24) == 255) {
                d[x] = sp;
            } else if (sp != 0) {
                d[x] = over(sp, d[x]);
            }
        }
    }
}

} // namespace

// Pre-draws the marker at the device scale, at four sub-pixel offsets each way, and composites
// the covered pixels at every point: the point lands within an eighth of a pixel of its place.
void CairoCanvas::stampRaster(const MarkerItem& item) {
    constexpr int phases = 4;
    double reach = item.radius + (item.bordered ? item.border.width : 0) + 1;
    int size = static_cast<int>(std::ceil(2 * reach * rasterScale_)) + 2;
    if (size <= 0 || size > 512) {
        for (const Point& p : item.points)
            drawMarker(cr_, item, p.x, p.y);
        return;
    }
    int centre = size / 2;
    Stamp stamps[phases * phases];
    bool ok = true;
    for (int fy = 0; fy < phases; ++fy) {
        for (int fx = 0; fx < phases; ++fx) {
            ok = predraw(stamps[fy * phases + fx], item, size, centre,
                         static_cast<double>(fx) / phases, static_cast<double>(fy) / phases,
                         rasterScale_) &&
                 ok;
        }
    }
    cairo_surface_t* target = cairo_get_target(cr_);
    cairo_surface_flush(target);
    Pixels dst{cairo_image_surface_get_data(target), cairo_image_surface_get_width(target),
               cairo_image_surface_get_height(target), cairo_image_surface_get_stride(target)};
    Rect clip = clips_.empty() ? Rect{-1e9, -1e9, 2e9, 2e9} : clips_.back();
    for (const Point& p : item.points) {
        if (!dst.data || !ok) break;
        if (!clip.contains(p)) continue;
        double dx = p.x, dy = p.y;
        cairo_user_to_device(cr_, &dx, &dy);
        if (!(std::fabs(dx) < 1e6 && std::fabs(dy) < 1e6)) continue;
        // The nearest quarter pixel: whole pixels place the stamp, quarters choose it.
        long qx = std::lround(dx * phases), qy = std::lround(dy * phases);
        long ix = qx >= 0 ? qx / phases : -((-qx + phases - 1) / phases);
        long iy = qy >= 0 ? qy / phases : -((-qy + phases - 1) / phases);
        const Stamp& st = stamps[(qy - iy * phases) * phases + (qx - ix * phases)];
        composite(st, size, dst, static_cast<int>(ix) - centre, static_cast<int>(iy) - centre);
    }
    cairo_surface_mark_dirty(target);
    for (Stamp& st : stamps) {
        if (st.surface) cairo_surface_destroy(st.surface);
    }
}

// Vector outputs get all markers of a set as one path, filled and stroked once: one element in
// the file instead of one per point.
void CairoCanvas::stampVector(const MarkerItem& item) {
    Rect clip = clips_.empty() ? Rect{-1e9, -1e9, 2e9, 2e9} : clips_.back();
    int sides = std::min(item.sides, 20);
    double r = item.radius;
    cairo_new_path(cr_);
    for (const Point& p : item.points) {
        if (!clip.contains(p)) continue;
        cairo_new_sub_path(cr_);
        if (sides < 3) {
            cairo_arc(cr_, p.x, p.y, r, 0, 2 * std::numbers::pi);
        } else {
            for (int i = 0; i < sides; ++i) {
                double a = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / sides;
                cairo_line_to(cr_, p.x + r * std::cos(a), p.y + r * std::sin(a));
            }
            cairo_close_path(cr_);
        }
    }
    setColor(cr_, item.fill);
    if (item.bordered) {
        cairo_fill_preserve(cr_);
        applyStroke(cr_, item.border);
        cairo_stroke(cr_);
    } else {
        cairo_fill(cr_);
    }
}

void CairoCanvas::pushClip(const Rect& rect) {
    flushLines();
    cairo_save(cr_);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, rect.x, rect.y, rect.w, rect.h);
    cairo_clip(cr_);
    clips_.push_back(rect);
}

void CairoCanvas::popClip() {
    flushLines();
    if (clips_.empty()) return;
    clips_.pop_back();
    cairo_restore(cr_);
}

} // namespace plotara::player

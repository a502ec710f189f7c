#include "player/draw/CairoCanvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace plotara::player {

void paintScene(const Scene& scene, Canvas& canvas) {
    ShapeItem background;
    background.path.rect({0, 0, scene.width, scene.height});
    background.filled = true;
    background.fill = scene.background;
    canvas.shape(background);
    for (const SceneItem& item : scene.items) {
        std::visit(
            [&canvas](const auto& it) {
                using T = std::decay_t<decltype(it)>;
                if constexpr (std::is_same_v<T, ShapeItem>) {
                    canvas.shape(it);
                } else if constexpr (std::is_same_v<T, TextItem>) {
                    canvas.text(it);
                } else if constexpr (std::is_same_v<T, MarkerItem>) {
                    canvas.markers(it);
                } else if constexpr (std::is_same_v<T, ClipPush>) {
                    canvas.pushClip(it.rect);
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

CairoCanvas::CairoCanvas(cairo_t* cr, TextEngine& text, double rasterScale)
    : cr_(cr), textEngine_(text), rasterScale_(rasterScale) {
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

CairoCanvas::~CairoCanvas() {
    while (!clips_.empty())
        popClip();
}

void CairoCanvas::shape(const ShapeItem& item) {
    if (item.path.empty()) return;
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

void CairoCanvas::text(const TextItem& item) {
    if (item.text.empty()) return;
    textEngine_.draw(cr_, item);
}

void CairoCanvas::markers(const MarkerItem& item) {
    if (item.points.empty()) return;
    if (item.points.size() < 16) {
        for (const Point& p : item.points)
            drawMarker(cr_, item, p.x, p.y);
        return;
    }
    if (rasterScale_ > 0 &&
        cairo_surface_get_type(cairo_get_target(cr_)) == CAIRO_SURFACE_TYPE_IMAGE) {
        stampRaster(item);
    } else {
        stampVector(item);
    }
}

// Pre-draws the marker once at the device scale and composites its pixels at every point.
void CairoCanvas::stampRaster(const MarkerItem& item) {
    double reach = item.radius + (item.bordered ? item.border.width : 0) + 1;
    int size = static_cast<int>(std::ceil(2 * reach * rasterScale_)) + 2;
    if (size <= 0 || size > 512) {
        for (const Point& p : item.points)
            drawMarker(cr_, item, p.x, p.y);
        return;
    }
    cairo_surface_t* stamp = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* sc = cairo_create(stamp);
    cairo_scale(sc, rasterScale_, rasterScale_);
    double half = size / (2 * rasterScale_);
    drawMarker(sc, item, half, half);
    cairo_destroy(sc);
    cairo_surface_flush(stamp);

    cairo_surface_t* target = cairo_get_target(cr_);
    cairo_surface_flush(target);
    unsigned char* dst = cairo_image_surface_get_data(target);
    int dw = cairo_image_surface_get_width(target), dh = cairo_image_surface_get_height(target);
    int dstride = cairo_image_surface_get_stride(target);
    const unsigned char* src = cairo_image_surface_get_data(stamp);
    int sstride = cairo_image_surface_get_stride(stamp);
    Rect clip = clips_.empty() ? Rect{-1e9, -1e9, 2e9, 2e9} : clips_.back();
    if (dst && src) {
        for (const Point& p : item.points) {
            if (!clip.contains(p)) continue;
            double dx = p.x, dy = p.y;
            cairo_user_to_device(cr_, &dx, &dy);
            int ox = static_cast<int>(std::lround(dx - size / 2.0));
            int oy = static_cast<int>(std::lround(dy - size / 2.0));
            for (int y = std::max(0, -oy); y < size && oy + y < dh; ++y) {
                const auto* s = reinterpret_cast<const std::uint32_t*>(src + y * sstride);
                auto* d = reinterpret_cast<std::uint32_t*>(dst + (oy + y) * dstride);
                for (int x = std::max(0, -ox); x < size && ox + x < dw; ++x) {
                    std::uint32_t sp = s[x];
                    std::uint32_t sa = sp >> 24;
                    if (sa == 0) continue;
                    std::uint32_t& dp = d[ox + x];
                    if (sa == 255) {
                        dp = sp;
                        continue;
                    }
                    std::uint32_t inv = 255 - sa, out = 0;
                    for (int shift = 0; shift < 32; shift += 8) {
                        std::uint32_t sc8 = (sp >> shift) & 0xFF;
                        std::uint32_t dc8 = (dp >> shift) & 0xFF;
                        std::uint32_t v = sc8 + (dc8 * inv + 127) / 255;
                        out |= std::min<std::uint32_t>(v, 255) << shift;
                    }
                    dp = out;
                }
            }
        }
    }
    cairo_surface_mark_dirty(target);
    cairo_surface_destroy(stamp);
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
    cairo_save(cr_);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, rect.x, rect.y, rect.w, rect.h);
    cairo_clip(cr_);
    clips_.push_back(rect);
}

void CairoCanvas::popClip() {
    if (clips_.empty()) return;
    clips_.pop_back();
    cairo_restore(cr_);
}

} // namespace plotara::player

#include "player/draw/LineStrokes.h"

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <system_error>
#include <thread>
#include <utility>

namespace plotara::player {

namespace {

// Long opaque polylines are stroked in pieces that overlap by one segment: cairo's scan
// conversion slows down sharply with the number of edges of one stroke, and an opaque colour
// drawn twice over the shared segment looks the same (only its anti-aliased rim gets a little
// denser). Every join is still drawn whole by one of the pieces.
constexpr std::size_t pieceSegments = 32;

// Below this many segments in all, starting a second thread costs about what it saves.
constexpr std::size_t twoThreadSegments = 512;

// The segments [from, to) of one piece, `from` a move or the piece's first point.
struct Piece {
    std::size_t from = 0, to = 0;
};

// Calls f(piece) for every piece of the polyline, in drawing order.
template <class F>
void forEachPiece(const std::vector<PathSeg>& segs, F&& f) {
    std::size_t i = 0;
    while (i < segs.size()) {
        // One run from a move to the next move; long runs go out in overlapping pieces.
        std::size_t end = i + 1;
        while (end < segs.size() && segs[end].op == PathOp::Line)
            ++end;
        for (std::size_t from = i;; from += pieceSegments) {
            const std::size_t to = std::min(end, from + pieceSegments + 2);
            f(Piece{from, to});
            if (to >= end) break;
        }
        i = end;
    }
}

// Strokes one piece of a line in the line's colour and width.
void strokePiece(cairo_t* cr, const ShapeItem& line, Piece p) {
    const Stroke& s = line.stroke;
    const std::vector<PathSeg>& segs = line.path.segments();
    cairo_set_source_rgba(cr, s.color.r, s.color.g, s.color.b, s.color.a);
    cairo_set_line_width(cr, std::max(s.width, 0.1));
    cairo_new_path(cr);
    cairo_move_to(cr, segs[p.from].x, segs[p.from].y);
    for (std::size_t k = p.from + 1; k < p.to; ++k)
        cairo_line_to(cr, segs[k].x, segs[k].y);
    cairo_stroke(cr);
}

void strokePieces(cairo_t* cr, const ShapeItem& line) {
    cairo_set_dash(cr, nullptr, 0, 0);
    // Such lines hold hundreds of points a few pixels apart: 4 x 4 samples a pixel (cairo's fast
    // anti-aliasing) look the same there and halve the time of the scan conversion.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_FAST);
    forEachPiece(line.path.segments(), [cr, &line](Piece p) { strokePiece(cr, line, p); });
}

// A piece as one of two threads strokes it. Each thread strokes its pieces in their order, and a
// piece first waits for the other thread's earlier pieces that may touch its pixels: every pixel
// sees the same pieces in the same order as in one pass, and each piece is stroked by a context
// like the caller's, so the pixels come out the same.
struct PlannedPiece {
    const ShapeItem* line = nullptr;
    Piece piece;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0; // the device pixels it may touch
    int thread = 0;                        // 0 the calling thread, 1 the helper
    std::size_t rank = 0;                  // its place among its thread's pieces
    std::size_t after = 0;                 // how many of the other thread's pieces go first
};

// The pixels a piece may touch: its points widened by the stroke's half width and a margin for
// anti-aliasing and cairo's rounding.
void boundPiece(PlannedPiece& p, const cairo_matrix_t& m) {
    const std::vector<PathSeg>& segs = p.line->path.segments();
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (std::size_t k = p.piece.from; k < p.piece.to; ++k) {
        const double x = segs[k].x * m.xx + m.x0, y = segs[k].y * m.yy + m.y0;
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    const double half = std::max(p.line->stroke.width, 0.1) / 2;
    const double rx = half * m.xx + 2, ry = half * m.yy + 2;
    p.x0 = x0 - rx, p.x1 = x1 + rx, p.y0 = y0 - ry, p.y1 = y1 + ry;
}

// Gives the pieces left of the column that halves the work to the calling thread, the others to
// the helper: a line's pieces run from left to right, so the threads meet only where a line
// crosses that column. false when one thread would get little or a bound is not finite.
bool assignThreads(std::vector<PlannedPiece>& plan) {
    std::vector<std::pair<double, double>> centres; // (column, work)
    double total = 0;
    for (const PlannedPiece& p : plan) {
        const double centre = (p.x0 + p.x1) / 2;
        if (!std::isfinite(centre) || !std::isfinite(p.y0 + p.y1)) return false;
        const double work = static_cast<double>(p.piece.to - p.piece.from);
        centres.emplace_back(centre, work);
        total += work;
    }
    std::sort(centres.begin(), centres.end());
    double left = 0, split = 0;
    for (const auto& [column, work] : centres) {
        split = column;
        if ((left += work) >= total / 2) break;
    }
    std::size_t ranks[2] = {0, 0};
    for (PlannedPiece& p : plan) {
        p.thread = (p.x0 + p.x1) / 2 <= split ? 0 : 1;
        p.rank = ranks[p.thread]++;
    }
    return std::min(ranks[0], ranks[1]) * 5 >= plan.size();
}

// Finds for every piece the other thread's latest earlier piece that may share a pixel with it,
// through a coarse grid that keeps the latest piece of each thread per cell.
void orderPieces(std::vector<PlannedPiece>& plan, int width, int height) {
    constexpr int cell = 32;
    const int cols = width / cell + 1, rows = height / cell + 1;
    std::vector<std::size_t> latest[2] = {
        std::vector<std::size_t>(static_cast<std::size_t>(cols * rows), 0),
        std::vector<std::size_t>(static_cast<std::size_t>(cols * rows), 0)};
    auto index = [](double v, int count) {
        return static_cast<int>(std::clamp(std::floor(v / cell), 0.0, count - 1.0));
    };
    for (PlannedPiece& p : plan) {
        const int cx0 = index(p.x0, cols), cx1 = index(p.x1, cols);
        const int cy0 = index(p.y0, rows), cy1 = index(p.y1, rows);
        std::vector<std::size_t>& mine = latest[p.thread];
        const std::vector<std::size_t>& theirs = latest[1 - p.thread];
        for (int y = cy0; y <= cy1; ++y) {
            for (int x = cx0; x <= cx1; ++x) {
                const auto at = static_cast<std::size_t>(y * cols + x);
                p.after = std::max(p.after, theirs[at]); // 1 + that piece's rank; 0 for none
                mine[at] = p.rank + 1;
            }
        }
    }
}

// A context of its own on the pixels of cr's image surface, set up as cr is for stroking: the
// same size, transform, line style and clip give the very polygons and pixels cr would.
cairo_t* twinContext(cairo_t* cr, cairo_surface_t* target, const std::vector<Rect>& clips) {
    cairo_surface_t* twin = cairo_image_surface_create_for_data(
        cairo_image_surface_get_data(target), cairo_image_surface_get_format(target),
        cairo_image_surface_get_width(target), cairo_image_surface_get_height(target),
        cairo_image_surface_get_stride(target));
    cairo_t* c = cairo_create(twin);
    cairo_surface_destroy(twin); // the context holds it
    cairo_set_line_join(c, cairo_get_line_join(cr));
    cairo_set_line_cap(c, cairo_get_line_cap(cr));
    cairo_set_tolerance(c, cairo_get_tolerance(cr));
    cairo_set_miter_limit(c, cairo_get_miter_limit(cr));
    cairo_set_antialias(c, CAIRO_ANTIALIAS_FAST);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    cairo_set_matrix(c, &m);
    for (const Rect& r : clips) {
        cairo_rectangle(c, r.x, r.y, r.w, r.h);
        cairo_clip(c);
    }
    return c;
}

// One thread's pieces, each after the other thread's pieces it waits for.
void strokeShare(cairo_t* cr, const std::vector<PlannedPiece>& plan, int self,
                 std::atomic<std::size_t> (&done)[2]) {
    for (const PlannedPiece& p : plan) {
        if (p.thread != self) continue;
        std::atomic<std::size_t>& theirs = done[1 - self];
        for (std::size_t seen = theirs.load(std::memory_order_acquire); seen < p.after;
             seen = theirs.load(std::memory_order_acquire))
            theirs.wait(seen, std::memory_order_acquire);
        strokePiece(cr, *p.line, p.piece);
        done[self].store(p.rank + 1, std::memory_order_release);
        done[self].notify_one();
    }
}

// Strokes the lines with two threads; false (nothing drawn) when cr does not draw straight onto
// an image surface with a plain scale and offset, the work does not split, or no second thread
// can be had.
bool strokeInTwo(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips) {
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_get_group_target(cr) != target ||
        cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_get_operator(cr) != CAIRO_OPERATOR_OVER)
        return false;
    // The twin surfaces have no device offset or scale of their own.
    double dx = 0, dy = 0, sx = 1, sy = 1;
    cairo_surface_get_device_offset(target, &dx, &dy);
    cairo_surface_get_device_scale(target, &sx, &sy);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (dx != 0 || dy != 0 || sx != 1 || sy != 1 || m.xy != 0 || m.yx != 0 || !(m.xx > 0) ||
        !(m.yy > 0))
        return false;
    cairo_surface_flush(target);
    if (!cairo_image_surface_get_data(target)) return false;
    std::vector<PlannedPiece> plan;
    for (const ShapeItem& line : lines) {
        forEachPiece(line.path.segments(), [&](Piece piece) {
            PlannedPiece p;
            p.line = &line;
            p.piece = piece;
            boundPiece(p, m);
            plan.push_back(p);
        });
    }
    if (!assignThreads(plan)) return false;
    orderPieces(plan, cairo_image_surface_get_width(target),
                cairo_image_surface_get_height(target));
    cairo_t* mine = twinContext(cr, target, clips);
    cairo_t* helpers = twinContext(cr, target, clips);
    std::atomic<std::size_t> done[2] = {0, 0};
    std::jthread helper;
    try {
        helper = std::jthread([&] { strokeShare(helpers, plan, 1, done); });
    } catch (const std::system_error&) {
        // No second thread to be had: nothing is drawn yet, the caller strokes in one pass.
    }
    const bool twoThreads = helper.joinable();
    if (twoThreads) {
        strokeShare(mine, plan, 0, done);
        helper.join();
    }
    cairo_destroy(mine);
    cairo_destroy(helpers);
    if (twoThreads) cairo_surface_mark_dirty(target);
    return twoThreads;
}

} // namespace

bool isPieceStroke(const ShapeItem& item) {
    const std::vector<PathSeg>& segs = item.path.segments();
    if (item.filled || !item.stroked || item.stroke.dash > 0 || item.stroke.color.a < 1 ||
        segs.size() <= 2 * pieceSegments)
        return false;
    return std::all_of(segs.begin(), segs.end(), [](const PathSeg& s) {
        return s.op == PathOp::Move || s.op == PathOp::Line;
    });
}

int strokeLines(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips,
                int maxThreads) {
    std::size_t segments = 0;
    for (const ShapeItem& line : lines)
        segments += line.path.segments().size();
    if (maxThreads > 1 && segments >= twoThreadSegments &&
        std::thread::hardware_concurrency() > 1 && strokeInTwo(cr, lines, clips))
        return 2;
    const cairo_antialias_t antialias = cairo_get_antialias(cr);
    for (const ShapeItem& line : lines)
        strokePieces(cr, line);
    cairo_set_antialias(cr, antialias);
    return 1;
}

} // namespace plotara::player

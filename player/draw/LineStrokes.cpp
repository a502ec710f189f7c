// Buys (the strokes shared by two threads, for a host that opts in): see HelperThread.cpp for the
// measured wall time of a line chart's PNG (measured with race.py, one and two paint threads).
#include "player/draw/LineStrokes.h"

#include "player/draw/DenseLines.h"

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <variant>

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

// Calls f(run) for every run of the polyline from a move to the next move, in drawing order.
template <class F>
void forEachRun(const std::vector<PathSeg>& segs, F&& f) {
    std::size_t i = 0;
    while (i < segs.size()) {
        std::size_t end = i + 1;
        while (end < segs.size() && segs[end].op == PathOp::Line)
            ++end;
        f(Piece{i, end});
        i = end;
    }
}

// Calls f(piece) for every piece of the run, in drawing order: long runs go out in overlapping
// pieces.
template <class F>
void forEachPieceOf(Piece run, F&& f) {
    for (std::size_t from = run.from;; from += pieceSegments) {
        const std::size_t to = std::min(run.to, from + pieceSegments + 2);
        f(Piece{from, to});
        if (to >= run.to) break;
    }
}

// Calls f(piece) for every piece of the polyline, in drawing order.
template <class F>
void forEachPiece(const std::vector<PathSeg>& segs, F&& f) {
    forEachRun(segs, [&f](Piece run) { forEachPieceOf(run, f); });
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

// Two threads stroke the pieces: the calling thread those left of the column that halves the
// work, the helper those right of it. A piece may be stroked once every earlier piece that may
// touch one of its pixels is done, so every pixel sees the same pieces in the same order as in
// one pass, and each piece is stroked by a context like the caller's: the pixels come out the
// same. Each thread takes its first piece that is free to go, so a piece that waits for the
// other thread holds up only the pieces over its own pixels.
struct PlannedPiece {
    const ShapeItem* line = nullptr;
    Piece piece;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the device pixels it may touch
    int thread = 0;                         // 0 the calling thread, 1 the helper
    std::uint32_t firstDep = 0, endDep = 0; // its earlier pieces in StrokePlan::deps
};

struct StrokePlan {
    std::vector<PlannedPiece> pieces;
    std::vector<std::uint32_t> deps; // indexes of pieces that must be stroked first
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
    std::size_t count[2] = {0, 0};
    for (PlannedPiece& p : plan) {
        p.thread = (p.x0 + p.x1) / 2 <= split ? 0 : 1;
        ++count[p.thread];
    }
    return std::min(count[0], count[1]) * 5 >= plan.size();
}

// Finds for every piece the earlier pieces it must wait for: through a coarse grid that keeps
// the latest piece per cell, the latest earlier piece of each cell it may touch. That piece
// waited in turn for the one before it there, so every earlier piece of the cell is done first.
void orderPieces(StrokePlan& plan, int width, int height) {
    constexpr int cell = 32;
    const int cols = width / cell + 1, rows = height / cell + 1;
    std::vector<std::uint32_t> latest(static_cast<std::size_t>(cols * rows), 0); // index + 1
    auto index = [](double v, int count) {
        return static_cast<int>(std::clamp(std::floor(v / cell), 0.0, count - 1.0));
    };
    for (std::size_t i = 0; i < plan.pieces.size(); ++i) {
        PlannedPiece& p = plan.pieces[i];
        const int cx0 = index(p.x0, cols), cx1 = index(p.x1, cols);
        const int cy0 = index(p.y0, rows), cy1 = index(p.y1, rows);
        p.firstDep = static_cast<std::uint32_t>(plan.deps.size());
        for (int y = cy0; y <= cy1; ++y) {
            for (int x = cx0; x <= cx1; ++x) {
                std::uint32_t& at = latest[static_cast<std::size_t>(y * cols + x)];
                const auto begin = plan.deps.begin() + p.firstDep;
                if (at != 0 && std::find(begin, plan.deps.end(), at - 1) == plan.deps.end())
                    plan.deps.push_back(at - 1);
                at = static_cast<std::uint32_t>(i + 1);
            }
        }
        p.endDep = static_cast<std::uint32_t>(plan.deps.size());
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

// The two threads' shared state: each piece's state, and a count of the pieces done to wait on.
struct StrokeProgress {
    enum : std::uint8_t { waiting, claimed, done };
    explicit StrokeProgress(std::size_t pieces) : state(pieces) {}
    std::vector<std::atomic<std::uint8_t>> state;
    std::atomic<std::uint32_t> count{0};
    std::atomic<int> sleepers{0};
};

// Whether every piece p waits for is done.
bool isFree(const StrokePlan& plan, const PlannedPiece& p, const StrokeProgress& progress) {
    for (std::uint32_t d = p.firstDep; d < p.endDep; ++d) {
        if (progress.state[plan.deps[d]].load(std::memory_order_acquire) != StrokeProgress::done)
            return false;
    }
    return true;
}

// Sleeps until the count of done pieces moves past seen.
void awaitProgress(StrokeProgress& progress, std::uint32_t seen) {
    progress.sleepers.fetch_add(1, std::memory_order_seq_cst);
    if (progress.count.load(std::memory_order_seq_cst) == seen) progress.count.wait(seen);
    progress.sleepers.fetch_sub(1, std::memory_order_seq_cst);
}

// One thread's view of the pieces: its own in order, then the other thread's, which it takes
// when none of its own is free to go (the other thread started late or is held up).
class ShareQueue {
public:
    ShareQueue(const StrokePlan& plan, int self) {
        for (std::size_t i = 0; i < plan.pieces.size(); ++i)
            (plan.pieces[i].thread == self ? own_ : others_)
                .push_back(static_cast<std::uint32_t>(i));
    }
    // Claims the first free piece, own pieces first: its index, or none. Sets `left` to whether
    // any piece is still unclaimed.
    std::optional<std::uint32_t> claim(const StrokePlan& plan, StrokeProgress& progress,
                                       bool& left) {
        left = false;
        for (std::vector<std::uint32_t>* list : {&own_, &others_}) {
            std::size_t& first = list == &own_ ? firstOwn_ : firstOthers_;
            while (first < list->size() &&
                   progress.state[(*list)[first]].load(std::memory_order_acquire) !=
                       StrokeProgress::waiting)
                ++first;
            for (std::size_t k = first; k < list->size(); ++k) {
                const std::uint32_t i = (*list)[k];
                if (progress.state[i].load(std::memory_order_acquire) != StrokeProgress::waiting)
                    continue;
                left = true;
                if (!isFree(plan, plan.pieces[i], progress)) continue;
                std::uint8_t expected = StrokeProgress::waiting;
                if (progress.state[i].compare_exchange_strong(expected, StrokeProgress::claimed,
                                                              std::memory_order_acq_rel))
                    return i;
            }
        }
        return std::nullopt;
    }

private:
    std::vector<std::uint32_t> own_, others_;
    std::size_t firstOwn_ = 0, firstOthers_ = 0; // the pieces before are claimed
};

// Strokes pieces, each as soon as it is free to go, until every piece is claimed.
void strokeShare(cairo_t* cr, const StrokePlan& plan, int self, StrokeProgress& progress) {
    ShareQueue queue(plan, self);
    for (;;) {
        const std::uint32_t seen = progress.count.load(std::memory_order_seq_cst);
        bool left = false;
        const std::optional<std::uint32_t> i = queue.claim(plan, progress, left);
        if (!i) {
            if (!left) return;
            awaitProgress(progress, seen);
            continue;
        }
        const PlannedPiece& p = plan.pieces[*i];
        strokePiece(cr, *p.line, p.piece);
        progress.state[*i].store(StrokeProgress::done, std::memory_order_release);
        progress.count.fetch_add(1, std::memory_order_seq_cst);
        if (progress.sleepers.load(std::memory_order_seq_cst) > 0) progress.count.notify_all();
    }
}

// Strokes the lines with two threads; false (nothing drawn) when cr does not draw straight onto
// an image surface with a plain scale and offset, the work does not split, or no second thread
// can be had.
bool strokeInTwo(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips,
                 HelperThread& helper) {
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
    StrokePlan plan;
    for (const ShapeItem& line : lines) {
        forEachPiece(line.path.segments(), [&](Piece piece) {
            PlannedPiece p;
            p.line = &line;
            p.piece = piece;
            boundPiece(p, m);
            plan.pieces.push_back(p);
        });
    }
    if (!assignThreads(plan.pieces)) return false;
    orderPieces(plan, cairo_image_surface_get_width(target),
                cairo_image_surface_get_height(target));
    cairo_t* mine = twinContext(cr, target, clips);
    cairo_t* helpers = twinContext(cr, target, clips);
    StrokeProgress progress(plan.pieces.size());
    auto helpersShare = [&] { strokeShare(helpers, plan, 1, progress); };
    const bool twoThreads = helper.start(helpersShare);
    if (twoThreads) {
        strokeShare(mine, plan, 0, progress);
        helper.finish();
    }
    cairo_destroy(mine);
    cairo_destroy(helpers);
    if (twoThreads) cairo_surface_mark_dirty(target);
    return twoThreads;
}

// The pixels of an image surface that cr draws onto with a plain scale (the same in x and y) and
// offset, and cr's clip there in device pixels; none when cr draws otherwise.
struct DenseTarget {
    cairo_surface_t* surface = nullptr;
    PixelView pixels;
    cairo_matrix_t m{};
    Rect clip;
};

std::optional<DenseTarget> denseTarget(cairo_t* cr, const std::vector<Rect>& clips) {
    DenseTarget t;
    t.surface = cairo_get_target(cr);
    if (cairo_get_group_target(cr) != t.surface ||
        cairo_surface_get_type(t.surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_get_operator(cr) != CAIRO_OPERATOR_OVER)
        return std::nullopt;
    const cairo_format_t format = cairo_image_surface_get_format(t.surface);
    if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return std::nullopt;
    double dx = 0, dy = 0, sx = 1, sy = 1;
    cairo_surface_get_device_offset(t.surface, &dx, &dy);
    cairo_surface_get_device_scale(t.surface, &sx, &sy);
    cairo_get_matrix(cr, &t.m);
    if (dx != 0 || dy != 0 || sx != 1 || sy != 1 || t.m.xy != 0 || t.m.yx != 0 || !(t.m.xx > 0) ||
        t.m.xx != t.m.yy)
        return std::nullopt;
    cairo_surface_flush(t.surface);
    t.pixels = {cairo_image_surface_get_data(t.surface), cairo_image_surface_get_width(t.surface),
                cairo_image_surface_get_height(t.surface),
                cairo_image_surface_get_stride(t.surface), format == CAIRO_FORMAT_RGB24};
    if (!t.pixels.data) return std::nullopt;
    // The canvas's clips, and cairo's clip extents besides (they hold any clip set before).
    double cx0 = 0, cy0 = 0, cx1 = 0, cy1 = 0;
    cairo_clip_extents(cr, &cx0, &cy0, &cx1, &cy1);
    Rect clip{cx0, cy0, cx1 - cx0, cy1 - cy0};
    for (const Rect& r : clips) {
        const double x = std::max(clip.x, r.x), y = std::max(clip.y, r.y);
        clip = {x, y, std::min(clip.right(), r.right()) - x,
                std::min(clip.bottom(), r.bottom()) - y};
    }
    t.clip = {clip.x * t.m.xx + t.m.x0, clip.y * t.m.yy + t.m.y0, clip.w * t.m.xx, clip.h * t.m.yy};
    return t;
}

// Appends the run's points in device pixels to out.
void devicePoints(const std::vector<PathSeg>& segs, Piece run, const cairo_matrix_t& m,
                  std::vector<Point>& out) {
    for (std::size_t k = run.from; k < run.to; ++k)
        out.push_back({segs[k].x * m.xx + m.x0, segs[k].y * m.yy + m.y0});
}

// Draws the lines in order when at least one of their runs is dense: those runs as spans onto the
// pixels, the others stroked by cairo in pieces. false (nothing drawn) when no run is dense or cr
// does not draw straight onto an image's pixels.
bool strokeDense(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips) {
    std::optional<DenseTarget> target = denseTarget(cr, clips);
    if (!target) return false;
    // Every run in drawing order, each dense one with its device points in `points` from `from`.
    struct Run {
        const ShapeItem* line;
        Piece piece;
        bool dense;
        std::size_t from, count;
    };
    std::vector<Run> runs;
    std::vector<Point> points;
    bool any = false;
    for (const ShapeItem& line : lines) {
        forEachRun(line.path.segments(), [&](Piece piece) {
            const std::size_t from = points.size();
            devicePoints(line.path.segments(), piece, target->m, points);
            const bool dense = isDenseRun(points.data() + from, points.size() - from);
            if (!dense) points.resize(from);
            runs.push_back({&line, piece, dense, from, points.size() - from});
            any = any || dense;
        });
    }
    if (!any) return false;
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_FAST);
    for (const Run& run : runs) {
        const ShapeItem& line = *run.line;
        if (!run.dense) {
            forEachPieceOf(run.piece, [cr, &line](Piece p) { strokePiece(cr, line, p); });
            continue;
        }
        cairo_surface_flush(target->surface);
        fillDenseRun(target->pixels, points.data() + run.from, run.count,
                     std::max(line.stroke.width, 0.1) * target->m.xx, target->clip,
                     line.stroke.color);
        cairo_surface_mark_dirty(target->surface);
    }
    return true;
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

namespace {

// Whether lines of this many segments in all are worth a second thread (which the helper
// refuses to be on a process held to one core).
bool worthTwoThreads(std::size_t segments) {
    return segments >= twoThreadSegments;
}

} // namespace

bool wantsLineHelper(const Scene& scene) {
    std::size_t segments = 0;
    for (const SceneItem& item : scene.items) {
        const ShapeItem* shape = std::get_if<ShapeItem>(&item);
        if (shape && isPieceStroke(*shape)) segments += shape->path.segments().size();
    }
    return worthTwoThreads(segments);
}

int strokeLines(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips,
                HelperThread* helper) {
    std::size_t segments = 0;
    for (const ShapeItem& line : lines)
        segments += line.path.segments().size();
    const cairo_antialias_t antialias = cairo_get_antialias(cr);
    if (strokeDense(cr, lines, clips)) {
        cairo_set_antialias(cr, antialias);
        return 1;
    }
    if (helper && worthTwoThreads(segments) && strokeInTwo(cr, lines, clips, *helper)) return 2;
    for (const ShapeItem& line : lines)
        strokePieces(cr, line);
    cairo_set_antialias(cr, antialias);
    return 1;
}

int strokeLines(cairo_t* cr, const std::vector<ShapeItem>& lines, const std::vector<Rect>& clips,
                int maxThreads) {
    if (maxThreads < 2) return strokeLines(cr, lines, clips, nullptr);
    HelperThread helper;
    return strokeLines(cr, lines, clips, &helper);
}

} // namespace plotara::player

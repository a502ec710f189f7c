// Points, rectangles and paths in chart units (pixels at a device pixel ratio of 1).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace plotara::player {

struct Point {
    double x = 0, y = 0;
};

struct Rect {
    double x = 0, y = 0, w = 0, h = 0;
    double right() const { return x + w; }
    double bottom() const { return y + h; }
    bool contains(Point p) const { return p.x >= x && p.x <= x + w && p.y >= y && p.y <= y + h; }
    // True when the interiors overlap (touching edges do not count).
    bool overlaps(const Rect& o) const {
        return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
    }
};

enum class PathOp : std::uint8_t { Move, Line, Arc, ArcNegative, Close };

// One path segment; arcs are elliptical (centre x, y; radii rx, ry; angles a0 to a1 in radians,
// clockwise on screen for Arc).
struct PathSeg {
    PathOp op;
    double x = 0, y = 0, rx = 0, ry = 0, a0 = 0, a1 = 0;
};

// A path's segments are shared between its copies until one of them changes (copy on write):
// a light line's wider edge is a second stroke of the line's own path, not a second path.
class Path {
public:
    void moveTo(double x, double y) { edit().push_back({PathOp::Move, x, y}); }
    void lineTo(double x, double y) { edit().push_back({PathOp::Line, x, y}); }
    void arc(double cx, double cy, double rx, double ry, double a0, double a1) {
        edit().push_back({PathOp::Arc, cx, cy, rx, ry, a0, a1});
    }
    void arcNegative(double cx, double cy, double rx, double ry, double a0, double a1) {
        edit().push_back({PathOp::ArcNegative, cx, cy, rx, ry, a0, a1});
    }
    void close() { edit().push_back({PathOp::Close}); }
    // A path that is one rectangle (most columns and bars) holds exactly its five segments
    // rather than the eight growth by doubling leaves: 168 bytes less per column.
    void rect(const Rect& r) {
        if (empty()) edit().reserve(5);
        moveTo(r.x, r.y);
        lineTo(r.right(), r.y);
        lineTo(r.right(), r.bottom());
        lineTo(r.x, r.bottom());
        close();
    }
    void polygon(const std::vector<Point>& pts) {
        if (empty()) edit().reserve(pts.size() + 1);
        for (std::size_t i = 0; i < pts.size(); ++i) {
            if (i == 0) {
                moveTo(pts[i].x, pts[i].y);
            } else {
                lineTo(pts[i].x, pts[i].y);
            }
        }
        if (!pts.empty()) close();
    }
    const std::vector<PathSeg>& segments() const { return segs_ ? *segs_ : none(); }
    bool empty() const { return !segs_ || segs_->empty(); }
    // True when this path and other hold the very same segments (one is a copy of the other,
    // neither changed since). Cannot fail.
    bool shares(const Path& other) const { return segs_ && segs_ == other.segs_; }

private:
    // The segments to change: this path's own, copied first while another path shares them.
    std::vector<PathSeg>& edit() {
        if (!segs_) {
            segs_ = std::make_shared<std::vector<PathSeg>>();
        } else if (segs_.use_count() > 1) {
            segs_ = std::make_shared<std::vector<PathSeg>>(*segs_);
        }
        return *segs_;
    }
    static const std::vector<PathSeg>& none() {
        static const std::vector<PathSeg> empty;
        return empty;
    }

    std::shared_ptr<std::vector<PathSeg>> segs_;
};

} // namespace plotara::player

// Buys: the first paint of a 10,000-point line page in headless Chromium; bench/web/first_paint.py
// and docs/web.md give the figures.
#include "player/draw/SvgPageLines.h"

#include "player/draw/SvgMarkup.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotara::player {

namespace {

// Shorter lines go out as they are: a browser strokes them quickly.
constexpr std::size_t pageLineSegments = 256;
// Segments a piece of an opaque line holds (one more where it overlaps the next piece).
constexpr std::size_t pieceSegments = 128;

bool drawable(const PathSeg& s) {
    return (s.op == PathOp::Move || s.op == PathOp::Line) && std::isfinite(s.x) &&
           std::isfinite(s.y);
}

// The points of segments [from, to) (a move and the lines after it), of each column's points in
// a row the first, the highest, the lowest and the last, in their order.
void thinRun(const std::vector<PathSeg>& segs, std::size_t from, std::size_t to,
             std::vector<Point>& out) {
    out.clear();
    for (std::size_t i = from; i < to;) {
        const double column = std::floor(segs[i].x);
        std::size_t end = i + 1, low = i, high = i;
        for (; end < to && std::floor(segs[end].x) == column; ++end) {
            if (segs[end].y < segs[low].y) low = end;
            if (segs[end].y > segs[high].y) high = end;
        }
        const std::size_t keep[] = {i, std::min(low, high), std::max(low, high), end - 1};
        for (std::size_t k = 0; k < 4; ++k)
            if (k == 0 || keep[k] != keep[k - 1]) out.push_back({segs[keep[k]].x, segs[keep[k]].y});
        i = end;
    }
}

void appendPoints(std::string& out, const std::vector<Point>& points, std::size_t from,
                  std::size_t to) {
    for (std::size_t k = from; k < to; ++k) {
        out += k == from ? 'M' : 'L';
        appendSvgNumber(out, points[k].x);
        out += ' ';
        appendSvgNumber(out, points[k].y);
    }
}

// The run's points as overlapping pieces, each a path of its own.
void appendPieces(std::string& out, const std::vector<Point>& points) {
    for (std::size_t from = 0; from + 1 < points.size(); from += pieceSegments) {
        out += "<path d=\"";
        appendPoints(out, points, from, std::min(points.size(), from + pieceSegments + 2));
        out += "\"/>\n";
        if (from + pieceSegments + 2 >= points.size()) break;
    }
}

} // namespace

bool isPageLine(const Path& path) {
    const std::vector<PathSeg>& segs = path.segments();
    return segs.size() > pageLineSegments && std::all_of(segs.begin(), segs.end(), drawable);
}

void appendPageLine(std::string& out, const Path& path, bool pieces) {
    const std::vector<PathSeg>& segs = path.segments();
    std::vector<Point> points;
    if (!pieces) out += "<path d=\"";
    for (std::size_t i = 0; i < segs.size();) {
        std::size_t end = i + 1;
        while (end < segs.size() && segs[end].op == PathOp::Line)
            ++end;
        thinRun(segs, i, end, points);
        if (pieces) {
            appendPieces(out, points);
        } else {
            appendPoints(out, points, 0, points.size());
        }
        i = end;
    }
    if (!pieces) out += "\"/>\n";
}

} // namespace plotara::player

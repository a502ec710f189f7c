// Buys: a 10,000-point line across a 1280 x 800 picture in 1.5 to 1.8 ms where cairo's stroke in
// pieces takes 8.4 to 8.7 ms (BM_DenseLine_spans and _cairo in bench/player_denseline_bench.cpp,
// side by side); the live update rate of such a line in the widget rose from 0.8 to about 1.8
// times Qt Charts' (bench/live). cairo builds and scan-converts a polygon for every segment and
// join; where a line has several points a pixel column, nearly all of that work falls on pixels
// the line covers wholly.
#include "player/draw/DenseLines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace plotara::player {

namespace {

// x positions at which each pixel column is sampled (as cairo's fast anti-aliasing does).
constexpr int samples = 4;

// Below this many segments a run is cairo's: its stroker is quick enough there.
constexpr std::size_t minSegments = 64;

// The y interval one sample of the line covers.
struct Span {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool empty() const { return !(lo < hi); }
};

// The stroke of one segment a-b of the line (half width r, butt ends), a rectangle, as what its
// cut with a vertical line needs: between xmin and xmax that cut runs from the higher of its two
// lower edges' lines to the lower of its two upper edges' lines (y grows downwards), the sides
// y = s x + k and the ends y = m x + c. Worked out once for all the samples it reaches.
struct Band {
    static constexpr double inf = std::numeric_limits<double>::infinity();
    double xmin = inf, xmax = -inf; // none when a = b
    double s = 0, kLo = -inf, kHi = inf;
    double m = 0, cLo = -inf, cHi = inf;

    Band(Point a, Point b, double r) {
        const double dx = b.x - a.x, dy = b.y - a.y, length = std::sqrt(dx * dx + dy * dy);
        if (length == 0) return;
        const double nx = std::abs(dy) / length * r;
        xmin = std::min(a.x, b.x) - nx;
        xmax = std::max(a.x, b.x) + nx;
        if (dx == 0) { // vertical: the ends alone bound it
            cLo = std::min(a.y, b.y);
            cHi = std::max(a.y, b.y);
            return;
        }
        s = dy / dx;
        const double h = r * length / std::abs(dx); // half its height on a vertical line
        kLo = a.y - s * a.x - h;
        kHi = a.y - s * a.x + h;
        if (dy == 0) return; // horizontal: xmin and xmax are its ends
        m = -dx / dy;
        const Point lowEnd = dy > 0 ? a : b, highEnd = dy > 0 ? b : a;
        cLo = lowEnd.y - m * lowEnd.x;
        cHi = highEnd.y - m * highEnd.x;
    }

    // Widens each sample's span by the cut at its x (written without branches: the compiler
    // works on several samples at once).
    void addTo(const double (&xs)[samples], Span (&spans)[samples]) const {
        for (int k = 0; k < samples; ++k) {
            const double x = xs[k];
            const double lo = std::max(s * x + kLo, m * x + cLo);
            const double hi = std::min(s * x + kHi, m * x + cHi);
            const bool cuts = x >= xmin && x <= xmax && lo < hi;
            spans[k].lo = cuts ? std::min(spans[k].lo, lo) : spans[k].lo;
            spans[k].hi = cuts ? std::max(spans[k].hi, hi) : spans[k].hi;
        }
    }
};

// The points p with sign * (p - at) . direction >= 0.
struct HalfPlane {
    Point at, direction;
    double sign = 1;

    // Cuts lo..hi on the vertical line at x to the half plane.
    void cut(double x, double& lo, double& hi) const {
        const double dx = direction.x * sign, dy = direction.y * sign;
        const double base = (x - at.x) * dx;
        if (dy == 0) {
            if (base < 0) hi = lo; // the line lies outside
        } else if (dy > 0) {
            lo = std::max(lo, at.y - base / dy);
        } else {
            hi = std::min(hi, at.y - base / dy);
        }
    }
};

// Widens each sample's span by what the round join at points[i] (radius r) covers on the vertical
// line at its x. The join is the disk's sector on the outside of the turn, between the two
// segments' ends. Far from the line's ends the whole disk may stand for it (what the sector leaves
// out lies within r of the segments there), and the samples go without branches; within 2 r of a
// butt end it may not, so the sector is cut out exactly.
void addJoin(const Point* points, std::size_t i, std::size_t n, double r,
             const double (&xs)[samples], Span (&spans)[samples]) {
    const Point p = points[i];
    if (p.x + r < xs[0] || p.x - r > xs[samples - 1]) return;
    auto near = [&](Point end) {
        const double ex = p.x - end.x, ey = p.y - end.y;
        return ex * ex + ey * ey < 4 * r * r;
    };
    const bool nearEnd = near(points[0]) || near(points[n - 1]);
    for (int k = 0; k < samples; ++k) {
        const double d = xs[k] - p.x, square = r * r - d * d;
        const double h = std::sqrt(std::max(square, 0.0));
        double lo = p.y - h, hi = p.y + h;
        if (nearEnd) {
            const Point prev = points[i - 1], next = points[i + 1];
            HalfPlane{p, {p.x - prev.x, p.y - prev.y}, 1}.cut(xs[k], lo, hi); // ahead of the one in
            HalfPlane{p, {next.x - p.x, next.y - p.y}, -1}.cut(xs[k], lo, hi); // behind the one out
        }
        const bool covers = square > 0 && lo < hi;
        spans[k].lo = covers ? std::min(spans[k].lo, lo) : spans[k].lo;
        spans[k].hi = covers ? std::max(spans[k].hi, hi) : spans[k].hi;
    }
}

// A premultiplied colour (blue, green, red, alpha; 0 to 255) blended over the pixel dst with
// the coverage given.
std::uint32_t over(std::uint32_t dst, const double src[4], double coverage, bool opaque) {
    const double keep = 1 - src[3] / 255 * coverage;
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k) {
        const int shift = 8 * k; // blue, green, red, alpha
        const double d = k == 3 && opaque ? 255.0 : static_cast<double>((dst >> shift) & 0xFF);
        const double v = src[k] * coverage + d * keep;
        out |= static_cast<std::uint32_t>(std::clamp(v + 0.5, 0.0, 255.0)) << shift;
    }
    return out;
}

} // namespace

bool isDenseRun(const Point* points, std::size_t n) {
    if (n < minSegments + 1) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) return false;
        if (i > 0 && points[i].x < points[i - 1].x) return false;
    }
    return static_cast<double>(n - 1) >= 2 * (points[n - 1].x - points[0].x);
}

void fillDenseRun(const PixelView& pixels, const Point* points, std::size_t n, double width,
                  const Rect& clip, Color color) {
    if (n < 2 || !(width > 0) || !pixels.data) return;
    const double r = width / 2;
    const double x0 = std::max({points[0].x - r, clip.x, 0.0});
    const double x1 =
        std::min({points[n - 1].x + r, clip.right(), static_cast<double>(pixels.width)});
    const double y0 = std::max(clip.y, 0.0);
    const double y1 = std::min(clip.bottom(), static_cast<double>(pixels.height));
    if (!(x1 > x0) || !(y1 > y0)) return;
    const double alpha = std::clamp(color.a, 0.0, 1.0);
    const double src[4] = {color.b * alpha * 255, color.g * alpha * 255, color.r * alpha * 255,
                           alpha * 255};
    const std::uint32_t solid = over(0, src, 1, false);
    std::vector<double> coverage(static_cast<std::size_t>(pixels.height), 0.0);
    std::vector<Band> bands;
    bands.reserve(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i)
        bands.emplace_back(points[i], points[i + 1], r);
    std::size_t first = 0; // no segment before it reaches the samples still to come
    for (int c = static_cast<int>(std::floor(x0)); c < static_cast<int>(std::ceil(x1)); ++c) {
        int rowLo = pixels.height, rowHi = 0;
        Span spans[samples];
        double xs[samples];
        for (int k = 0; k < samples; ++k)
            xs[k] = c + (k + 0.5) / samples;
        // The segments [first, end) and their joins may reach the column's samples.
        while (first + 1 < n && points[first + 1].x + r < c)
            ++first;
        std::size_t end = first;
        while (end + 1 < n && points[end].x - r <= c + 1)
            ++end;
        for (std::size_t i = first; i < end; ++i)
            bands[i].addTo(xs, spans);
        for (std::size_t i = std::max<std::size_t>(first, 1); i < end; ++i)
            addJoin(points, i, n, r, xs, spans); // the ends are butt: no join
        for (int k = 0; k < samples; ++k) {
            Span& span = spans[k];
            if (xs[k] < x0 || xs[k] > x1) continue;
            span.lo = std::max(span.lo, y0);
            span.hi = std::min(span.hi, y1);
            if (span.empty()) continue;
            const int from = static_cast<int>(std::floor(span.lo));
            const int to = static_cast<int>(std::ceil(span.hi));
            for (int row = from; row < to; ++row)
                coverage[static_cast<std::size_t>(row)] +=
                    (std::min(span.hi, row + 1.0) - std::max(span.lo, static_cast<double>(row))) /
                    samples;
            rowLo = std::min(rowLo, from);
            rowHi = std::max(rowHi, to);
        }
        for (int row = rowLo; row < rowHi; ++row) {
            double& cover = coverage[static_cast<std::size_t>(row)];
            if (cover > 0) {
                auto* pixel =
                    reinterpret_cast<std::uint32_t*>(pixels.data + row * pixels.stride) + c;
                // Most pixels of a dense line are covered wholly: an opaque colour replaces them.
                *pixel = cover >= 1 && alpha == 1
                             ? solid
                             : over(*pixel, src, std::min(cover, 1.0), pixels.opaque);
            }
            cover = 0;
        }
    }
}

} // namespace plotara::player

// The series' lines a dense line chart's zoom windows leave to the page's script. The page
// carries every point of the chart as data (its runs); a window's line is those points through
// the window's map, so the window keeps only a placeholder with the line's looks, which the
// script fills with the points when it shows the window, instead of the line's points as SVG
// text once more in every window.
#include "player/draw/Scene.h"
#include "player/web/HtmlPage.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <variant>

namespace plotara::player {

namespace {

// The stroked shapes each series draws in the scene, by series.
std::vector<std::vector<ShapeItem*>> seriesStrokes(Scene& scene) {
    std::vector<std::vector<ShapeItem*>> out;
    int series = -1;
    for (SceneItem& item : scene.items) {
        if (const auto* mark = std::get_if<SeriesMark>(&item)) {
            series = mark->series;
        } else if (std::holds_alternative<ClipPop>(item)) {
            series = -1; // a series' items end with their clip
        } else if (auto* shape = std::get_if<ShapeItem>(&item); shape && shape->stroked) {
            if (series < 0) continue;
            if (out.size() <= static_cast<std::size_t>(series)) out.resize(series + 1);
            out[static_cast<std::size_t>(series)].push_back(shape);
        }
    }
    return out;
}

// Whether the path is the line the script draws: the series' points first - 1 .. last + 1
// through the map, a new piece after each missing point.
bool scriptTraces(const Path& path, const std::vector<Point>& whole, const std::array<double, 4>& m,
                  long first, long last) {
    const std::vector<PathSeg>& segs = path.segments();
    // The map is exact (both layouts are linear in the values and the categories): what is
    // left is the rounding of the page's centres, scaled by the map.
    const double tolerance = 0.01 + 1e-4 * std::max(std::abs(m[0]), std::abs(m[2]));
    const long end = std::min(last + 2, static_cast<long>(whole.size()));
    std::size_t k = 0;
    bool open = false;
    for (long p = std::max(0L, first - 1); p < end; ++p) {
        const Point at = whole[static_cast<std::size_t>(p)];
        if (!std::isfinite(at.x)) {
            open = false;
            continue;
        }
        if (k == segs.size()) return false;
        const PathSeg& s = segs[k++];
        if (s.op != (open ? PathOp::Line : PathOp::Move) ||
            std::abs(m[0] * lineCentre(at.x) + m[1] - s.x) > tolerance ||
            std::abs(m[2] * lineCentre(at.y) + m[3] - s.y) > tolerance)
            return false;
        open = true;
    }
    return k > 1 && k == segs.size();
}

constexpr std::string_view placeholder = "<path d=\"M0 0\" fill=\"none\"";

} // namespace

std::size_t leaveOutLines(Scene& window, const SeriesPoints& whole,
                          const std::array<double, 4>& map, long first, long last) {
    std::size_t left = 0;
    const std::vector<std::vector<ShapeItem*>> strokes = seriesStrokes(window);
    for (std::size_t s = 0; s < strokes.size() && s < whole.size(); ++s) {
        // The line's own stroke and, for a light line, its darker edge below it: each the same
        // path, each of one look. Any other stroke of the series (pieces of their own colours,
        // dashes of their own) and the line stays the player's.
        const Path* checked = nullptr;
        const auto traced = [&](const ShapeItem* shape) {
            if (shape->filled) return false;
            if (checked && shape->path.shares(*checked)) return true; // the edge's own path
            checked = &shape->path;
            return scriptTraces(shape->path, whole[s], map, first, last);
        };
        if (strokes[s].empty() || !std::ranges::all_of(strokes[s], traced)) continue;
        for (ShapeItem* shape : strokes[s]) {
            shape->path = Path();
            shape->path.moveTo(0, 0); // draws nothing; markLinePlaceholders finds it
        }
        ++left;
    }
    return left;
}

void markLinePlaceholders(std::string& svg) {
    constexpr std::string_view marked = "<path data-plotara-line=\"\" fill=\"none\"";
    for (std::size_t at = svg.find(placeholder); at != std::string::npos;
         at = svg.find(placeholder, at + marked.size()))
        svg.replace(at, placeholder.size(), marked);
}

} // namespace plotara::player

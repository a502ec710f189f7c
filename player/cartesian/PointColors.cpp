#include "player/cartesian/PointColors.h"

namespace plotara::player {

Color pointColor(const PlotSeries& s, std::size_t i) {
    if (!s.source || i >= s.source->points.size()) return s.color;
    const std::string* text = s.source->points[i].attrs.find("color");
    return text ? parseColor(*text, s.color) : s.color;
}

bool hasPointColors(const PlotSeries& s) {
    if (!s.source) return false;
    for (const DataPoint& p : s.source->points) {
        if (p.attrs.find("color")) return true;
    }
    return false;
}

std::vector<ColorStretch> colorStretches(const std::vector<Color>& colors) {
    std::vector<ColorStretch> out;
    for (std::size_t k = 0; k < colors.size(); ++k) {
        if (!out.empty() && out.back().color == colors[k]) {
            out.back().last = k;
        } else {
            out.push_back({k, k, colors[k]});
        }
    }
    return out;
}

std::vector<Point> stretchPoints(const std::vector<Point>& chain, const ColorStretch& stretch) {
    auto halfway = [](const Point& a, const Point& b) {
        return Point{(a.x + b.x) / 2, (a.y + b.y) / 2};
    };
    std::vector<Point> out;
    if (stretch.last >= chain.size() || stretch.first > stretch.last) return out;
    if (stretch.first > 0) out.push_back(halfway(chain[stretch.first - 1], chain[stretch.first]));
    out.insert(out.end(), chain.begin() + static_cast<std::ptrdiff_t>(stretch.first),
               chain.begin() + static_cast<std::ptrdiff_t>(stretch.last + 1));
    if (stretch.last + 1 < chain.size())
        out.push_back(halfway(chain[stretch.last], chain[stretch.last + 1]));
    return out;
}

} // namespace plotara::player

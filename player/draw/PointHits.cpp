#include "player/draw/PointHits.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

void PointHits::beginSet(HitKind kind, std::string series, int seriesIndex, std::size_t order) {
    sets_.push_back({kind, std::move(series), seriesIndex, order, entries_.size()});
}

void PointHits::add(Point centre, double radius, int point) {
    if (sets_.empty() || !std::isfinite(centre.x) || !std::isfinite(centre.y)) return;
    entries_.push_back({static_cast<float>(centre.x), static_cast<float>(centre.y),
                        static_cast<float>(radius), static_cast<std::int32_t>(point)});
}

void PointHits::clear() {
    sets_.clear();
    entries_.clear();
    cellStart_.clear();
    cellEntries_.clear();
    columns_ = rows_ = 0;
}

void PointHits::finish() {
    cellStart_.clear();
    cellEntries_.clear();
    columns_ = rows_ = 0;
    if (entries_.empty()) return;
    float xl = entries_[0].x, xh = xl, yl = entries_[0].y, yh = yl, rmax = 0;
    for (const Entry& e : entries_) {
        xl = std::min(xl, e.x);
        xh = std::max(xh, e.x);
        yl = std::min(yl, e.y);
        yh = std::max(yh, e.y);
        rmax = std::max(rmax, e.radius);
    }
    // Cells about a point's diameter wide, at most about as many cells as points.
    reach_ = rmax;
    double w = xh - xl, h = yh - yl;
    double cell = std::max(2.0 * rmax, 1.0);
    double cells = (w / cell + 1) * (h / cell + 1);
    double limit = static_cast<double>(entries_.size()) + 16;
    if (cells > limit) cell *= std::sqrt(cells / limit);
    x0_ = xl;
    y0_ = yl;
    cell_ = cell;
    columns_ = static_cast<std::size_t>(w / cell) + 1;
    rows_ = static_cast<std::size_t>(h / cell) + 1;
    auto cellOf = [this](const Entry& e) {
        auto cx = std::min(static_cast<std::size_t>((e.x - x0_) / cell_), columns_ - 1);
        auto cy = std::min(static_cast<std::size_t>((e.y - y0_) / cell_), rows_ - 1);
        return cy * columns_ + cx;
    };
    // Counting sort of the entries by cell; within a cell they stay in drawing order.
    cellStart_.assign(columns_ * rows_ + 1, 0);
    for (const Entry& e : entries_)
        ++cellStart_[cellOf(e) + 1];
    for (std::size_t c = 1; c < cellStart_.size(); ++c)
        cellStart_[c] += cellStart_[c - 1];
    cellEntries_.resize(entries_.size());
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        cellEntries_[fill[cellOf(entries_[i])]++] = static_cast<std::uint32_t>(i);
}

long PointHits::find(Point p, std::size_t& set) const {
    if (cellStart_.empty() || !std::isfinite(p.x) || !std::isfinite(p.y)) return -1;
    double fx0 = std::floor((p.x - reach_ - x0_) / cell_),
           fx1 = std::floor((p.x + reach_ - x0_) / cell_);
    double fy0 = std::floor((p.y - reach_ - y0_) / cell_),
           fy1 = std::floor((p.y + reach_ - y0_) / cell_);
    double lastColumn = static_cast<double>(columns_ - 1), lastRow = static_cast<double>(rows_ - 1);
    if (fx1 < 0 || fy1 < 0 || fx0 > lastColumn || fy0 > lastRow) return -1;
    auto cx0 = static_cast<std::size_t>(std::max(fx0, 0.0));
    auto cx1 = static_cast<std::size_t>(std::min(fx1, lastColumn));
    auto cy0 = static_cast<std::size_t>(std::max(fy0, 0.0));
    auto cy1 = static_cast<std::size_t>(std::min(fy1, lastRow));
    long best = -1;
    for (std::size_t cy = cy0; cy <= cy1; ++cy) {
        for (std::size_t cx = cx0; cx <= cx1; ++cx) {
            std::size_t c = cy * columns_ + cx;
            for (std::uint32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k) {
                std::uint32_t i = cellEntries_[k];
                if (static_cast<long>(i) <= best) continue;
                const Entry& e = entries_[i];
                double dx = p.x - e.x, dy = p.y - e.y;
                if (dx * dx + dy * dy <= static_cast<double>(e.radius) * e.radius)
                    best = static_cast<long>(i);
            }
        }
    }
    if (best >= 0) {
        const Set& s = setOf(static_cast<std::size_t>(best));
        set = static_cast<std::size_t>(&s - sets_.data());
    }
    return best;
}

const PointHits::Set& PointHits::setOf(std::size_t entry) const {
    auto it = std::upper_bound(sets_.begin(), sets_.end(), entry,
                               [](std::size_t e, const Set& s) { return e < s.begin; });
    return *(it - 1);
}

} // namespace plotara::player

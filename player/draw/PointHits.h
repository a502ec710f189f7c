// The hit regions of many small round points (the points of scatter series) kept compactly: a
// centre, a radius and a point number per point in drawing order, and a grid of buckets over
// their extent, so that a lookup only looks at the points near it.
#pragma once

#include "player/draw/Geometry.h"
#include "player/draw/HitKind.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plotara::player {

class PointHits {
public:
    struct Set {
        HitKind kind = HitKind::None;
        std::string series;
        int seriesIndex = -1;
        std::size_t order = 0; // the scene's hit regions before it; later regions lie above it
        std::size_t begin = 0; // its first entry
    };
    struct Entry {
        float x, y, radius;
        std::int32_t point;
    };

    // Starts a set of points drawn after `order` other hit regions. Cannot fail.
    void beginSet(HitKind kind, std::string series, int seriesIndex, std::size_t order);
    // Adds a point to the current set (ignored before the first set). Cannot fail.
    void add(Point centre, double radius, int point);
    // Builds the grid of buckets; lookups need it. Cannot fail.
    void finish();
    // Forgets every point, keeping the memory for the next drawing. Cannot fail.
    void clear();
    // The last drawn point whose circle holds p, or -1; `set` receives its set. Cannot fail.
    long find(Point p, std::size_t& set) const;

    std::size_t size() const { return entries_.size(); }
    const Entry& entry(std::size_t i) const { return entries_[i]; }
    const Set& setOf(std::size_t entry) const;
    const std::vector<Set>& sets() const { return sets_; }

private:
    std::vector<Set> sets_;
    std::vector<Entry> entries_;
    // The grid: cell (cx, cy) holds cellEntries_[cellStart_[c] .. cellStart_[c + 1]).
    double x0_ = 0, y0_ = 0, cell_ = 1, reach_ = 0;
    std::size_t columns_ = 0, rows_ = 0;
    std::vector<std::uint32_t> cellStart_, cellEntries_;
};

} // namespace plotara::player

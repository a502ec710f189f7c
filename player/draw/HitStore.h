// The hit regions of a scene, kept compactly. Most regions of a large chart are one point each
// (a column, a bar, a line anchor): a rectangle or circle with a kind, a series and a point
// number, whose texts are worked out only when a host asks (lazyText). Consecutive ones of one
// shape, kind and series whose points follow each other form a run that keeps only their
// coordinates: 32 bytes a rectangle, 16 bytes a circle of the run's radius (24 with a radius of
// its own, as bubbles have), instead of a 330-byte HitRegion with its six strings. Any other region
// is kept whole beside them. Reading gives HitRegion values, in the order the regions were added.
#pragma once

#include "player/draw/HitRegion.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace plotara::player {

class HitStore {
public:
    // Reads the regions in order; dereferencing makes the region (a value).
    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = HitRegion;
        using difference_type = std::ptrdiff_t;
        using reference = HitRegion;
        struct pointer {
            HitRegion region;
            const HitRegion* operator->() const { return &region; }
        };

        const_iterator() = default;
        const_iterator(const HitStore* store, std::size_t index) : store_(store), index_(index) {}
        HitRegion operator*() const { return (*store_)[index_]; }
        pointer operator->() const { return pointer{(*store_)[index_]}; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const HitStore* store_ = nullptr;
        std::size_t index_ = 0;
    };

    // Adds a region after the others. Cannot fail beyond running out of memory.
    void push_back(HitRegion region);
    // Adds what push_back adds for a circle whose texts are worked out when asked (lazyText) and
    // that has no texts or link of its own, without making the region: a dense line's points.
    // Cannot fail beyond running out of memory.
    void pushLazyCircle(Point center, double radius, HitKind kind, int seriesIndex, int pointIndex);
    // Makes room for the coordinates of that many compact rectangles and circles. Cannot fail
    // beyond running out of memory.
    void reserve(std::size_t rects, std::size_t circles = 0);
    // Forgets every region. Cannot fail.
    void clear();

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The region at i (i < size()). Cannot fail beyond running out of memory.
    HitRegion operator[](std::size_t i) const;
    HitRegion front() const { return (*this)[0]; }
    HitRegion back() const { return (*this)[size() - 1]; }
    // Whether the region at i holds p, without making the region. Cannot fail.
    bool contains(std::size_t i, Point p) const;
    // The last region that holds p, or -1, without making any region. Cannot fail.
    long lastContaining(Point p) const;

    // Appends the regions [begin, end) to `out`, made in one walk over the store (no lookup per
    // region). Cannot fail beyond running out of memory.
    void appendRegions(std::vector<HitRegion>& out, std::size_t begin, std::size_t end) const;

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // How many regions are kept whole (tests look at it). Cannot fail.
    std::size_t wholeCount() const { return whole_.size(); }
    // How many runs and whole regions the store keeps (tests look at it). Cannot fail.
    std::size_t segmentCount() const { return segments_.size(); }

private:
    // A region kept whole, or a run of compact regions: region first + k is the run's point
    // firstPoint + k, its coordinates at coords_[data + k * 4] (x, y, w, h of a rectangle),
    // coords_[data + k * 2] (a circle's centre, of the run's radius) or coords_[data + k * 3]
    // (a centre and a radius, when the run's radii differ).
    struct Segment {
        std::size_t first = 0; // the index of its first region
        std::size_t data = 0;  // whole: the index in whole_; a run: the offset in coords_
        std::size_t count = 1;
        double radius = 0; // of a run's circles
        std::int32_t seriesIndex = -1, firstPoint = -1;
        std::uint8_t shape = 0; // HitRegion::Shape
        HitKind kind = HitKind::None;
        bool whole = true;
        bool radii = false; // each circle has its radius beside its centre
    };

    // What a compact entry keeps: a rectangle's rect, or a circle's centre and radius.
    struct Compact {
        HitRegion::Shape shape = HitRegion::Shape::Rect;
        HitKind kind = HitKind::None;
        int seriesIndex = -1, pointIndex = -1;
        Rect rect;
        Point center;
        double radius = 0;
    };

    std::size_t segmentOf(std::size_t i) const;
    bool extendsLastRun(const Compact& entry);
    void pushCompact(const Compact& entry);
    void fillRunRegion(const Segment& s, std::size_t k, HitRegion& r) const;
    HitRegion runRegion(const Segment& s, std::size_t k) const;
    bool runContains(const Segment& s, std::size_t k, Point p) const;

    std::vector<Segment> segments_;
    std::vector<double> coords_;
    std::vector<HitRegion> whole_;
    std::size_t size_ = 0;
};

} // namespace plotara::player

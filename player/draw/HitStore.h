// The hit regions of a scene, kept compactly. Most regions of a large chart are one point each
// (a column, a bar, a line anchor): a rectangle or circle with a kind, a series and a point
// number, whose texts are worked out only when a host asks (lazyText). Those are kept as 48-byte
// entries instead of a 330-byte HitRegion with its six strings; any other region is kept whole
// beside them. Reading gives HitRegion values, in the order the regions were added.
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
    // Makes room for n compact regions. Cannot fail beyond running out of memory.
    void reserve(std::size_t n);
    // Forgets every region. Cannot fail.
    void clear();

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // The region at i (i < size()). Cannot fail beyond running out of memory.
    HitRegion operator[](std::size_t i) const;
    HitRegion front() const { return (*this)[0]; }
    HitRegion back() const { return (*this)[size() - 1]; }
    // Whether the region at i holds p, without making the region. Cannot fail.
    bool contains(std::size_t i, Point p) const;

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // How many regions are kept whole (tests look at it). Cannot fail.
    std::size_t wholeCount() const { return whole_.size(); }

private:
    struct Entry {
        double a, b, c, d; // a rectangle's x, y, w, h; a circle's centre x, y and radius
        std::int32_t seriesIndex, pointIndex;
        std::uint32_t whole; // the index in whole_, or noWhole for a compact entry
        std::uint8_t shape;  // HitRegion::Shape
        std::uint8_t kind;   // the index in kinds_
    };
    static constexpr std::uint32_t noWhole = 0xFFFFFFFFu;

    std::vector<Entry> entries_;
    std::vector<HitRegion> whole_;
    std::vector<std::string> kinds_; // the few kinds of compact entries
};

} // namespace plotara::player

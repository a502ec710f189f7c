// An array of Variants with one or more dimensions, each with its own lower bound.
#pragma once

#include "core/Variant.h"

#include <vector>

namespace plotara {

class SafeArray {
public:
    struct Bound {
        Long lower;
        Long count;
    };

    // All elements Empty. Error 5 for no dimension or a negative count.
    explicit SafeArray(std::vector<Bound> bounds);
    // One dimension with the given items.
    static SafeArray of(std::vector<Variant> items, Long lower = 0);
    // Rows x columns; ragged rows are padded with Empty to the longest row.
    static SafeArray of2D(std::vector<std::vector<Variant>> rows, Long rowLower = 0,
                          Long columnLower = 0);

    int dimensions() const noexcept { return static_cast<int>(bounds_.size()); }
    // Dimensions count from 1 as LBound and UBound do; Error 9 for a dimension outside 1..n.
    Long lbound(int dimension = 1) const;
    Long ubound(int dimension = 1) const; // lower + count - 1, so -1 for an empty 0-based array
    std::size_t size() const noexcept { return items_.size(); }

    // Error 9 "Subscript out of range" outside the bounds or with the wrong number of indices.
    Variant& at(Long i);
    Variant& at(Long row, Long column);
    const Variant& at(Long i) const;
    const Variant& at(Long row, Long column) const;
    // Any number of indices, one per dimension.
    const Variant& at(const std::vector<Long>& indices) const;
    Variant& at(const std::vector<Long>& indices);

    friend bool operator==(const SafeArray& a, const SafeArray& b);

private:
    std::size_t offset(const Long* indices, std::size_t count) const;

    std::vector<Bound> bounds_;
    std::vector<Variant> items_; // first dimension varies slowest
};

} // namespace plotara

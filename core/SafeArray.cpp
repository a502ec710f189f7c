#include "core/SafeArray.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <utility>

namespace plotara {

SafeArray::SafeArray(std::vector<Bound> bounds) : bounds_(std::move(bounds)) {
    if (bounds_.empty()) raise(errors::invalidProcedureCall());
    std::size_t total = 1;
    for (const Bound& b : bounds_) {
        // The upper bound must be a Long too.
        if (b.count < 0 || std::int64_t{b.lower} + b.count - 1 > std::numeric_limits<Long>::max())
            raise(errors::invalidProcedureCall());
        if (__builtin_mul_overflow(total, static_cast<std::size_t>(b.count), &total))
            throw std::bad_alloc();
    }
    items_.resize(total);
}

SafeArray SafeArray::of(std::vector<Variant> items, Long lower) {
    SafeArray array({Bound{lower, static_cast<Long>(items.size())}});
    array.items_ = std::move(items);
    return array;
}

SafeArray SafeArray::of2D(std::vector<std::vector<Variant>> rows, Long rowLower, Long columnLower) {
    std::size_t columns = 0;
    for (const auto& row : rows)
        columns = std::max(columns, row.size());
    SafeArray array({Bound{rowLower, static_cast<Long>(rows.size())},
                     Bound{columnLower, static_cast<Long>(columns)}});
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            array.items_[r * columns + c] = std::move(rows[r][c]);
    }
    return array;
}

Long SafeArray::lbound(int dimension) const {
    if (dimension < 1 || dimension > dimensions()) raise(errors::subscriptOutOfRange());
    return bounds_[dimension - 1].lower;
}

Long SafeArray::ubound(int dimension) const {
    if (dimension < 1 || dimension > dimensions()) raise(errors::subscriptOutOfRange());
    const Bound& b = bounds_[dimension - 1];
    return b.lower + b.count - 1;
}

std::size_t SafeArray::offset(const Long* indices, std::size_t count) const {
    if (count != bounds_.size()) raise(errors::subscriptOutOfRange());
    std::size_t result = 0;
    for (std::size_t d = 0; d < count; ++d) {
        const std::int64_t index = std::int64_t{indices[d]} - bounds_[d].lower;
        if (index < 0 || index >= bounds_[d].count) raise(errors::subscriptOutOfRange());
        result =
            result * static_cast<std::size_t>(bounds_[d].count) + static_cast<std::size_t>(index);
    }
    return result;
}

Variant& SafeArray::at(Long i) {
    return items_[offset(&i, 1)];
}

const Variant& SafeArray::at(Long i) const {
    return items_[offset(&i, 1)];
}

Variant& SafeArray::at(Long row, Long column) {
    const Long indices[] = {row, column};
    return items_[offset(indices, 2)];
}

const Variant& SafeArray::at(Long row, Long column) const {
    const Long indices[] = {row, column};
    return items_[offset(indices, 2)];
}

const Variant& SafeArray::at(const std::vector<Long>& indices) const {
    return items_[offset(indices.data(), indices.size())];
}

Variant& SafeArray::at(const std::vector<Long>& indices) {
    return items_[offset(indices.data(), indices.size())];
}

bool operator==(const SafeArray& a, const SafeArray& b) {
    if (a.bounds_.size() != b.bounds_.size()) return false;
    for (std::size_t d = 0; d < a.bounds_.size(); ++d) {
        if (a.bounds_[d].lower != b.bounds_[d].lower || a.bounds_[d].count != b.bounds_[d].count)
            return false;
    }
    return a.items_ == b.items_;
}

} // namespace plotara

// The column names of a query result and the lookup every recordset uses: the exact name first,
// then the name in any letter case, as database column names usually match.
#pragma once

#include "core/String.h"

#include <vector>

namespace plotara {

class ColumnNames {
public:
    void add(String name);
    bool empty() const noexcept { return names_.empty(); }
    std::size_t size() const noexcept { return names_.size(); }
    const String& operator[](std::size_t i) const { return names_[i]; }
    const std::vector<String>& all() const noexcept { return names_; }
    // The column's position, or -1 when no column has that name. Cannot fail.
    int indexOf(const String& name) const;

private:
    std::vector<String> names_, lowerNames_;
};

} // namespace plotara

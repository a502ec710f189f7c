// The series a viewer has hidden from a chart's legend. A hidden series keeps its legend entry
// (drawn dimmed and marked hidden in the layout) but is not drawn: it gives no shapes, hit
// regions or value labels, and the value axes fit the series left.
#pragma once

#include <cstddef>
#include <vector>

namespace plotara::player {

struct ChartModel;

class SeriesFilter {
public:
    // Whether the series at index (datasets first, then line sets) is hidden. Cannot fail.
    bool hides(int index) const {
        return index >= 0 && static_cast<std::size_t>(index) < hidden_.size() &&
               hidden_[static_cast<std::size_t>(index)];
    }
    // Whether any series is hidden. Cannot fail.
    bool any() const;
    // Hides or shows the series at index (index >= 0). Cannot fail beyond running out of memory.
    void set(int index, bool hide);
    void clear() noexcept { hidden_.clear(); }

private:
    std::vector<bool> hidden_;
};

// A copy of the model in which the hidden series hold no values: their sets keep their
// attributes and places (so that indexes stay as the document has them) but have no value and
// no position. Cannot fail beyond running out of memory.
ChartModel withoutHidden(const ChartModel& model, const SeriesFilter& filter);

} // namespace plotara::player

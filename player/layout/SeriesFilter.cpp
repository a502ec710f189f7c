#include "player/layout/SeriesFilter.h"

#include "player/model/ChartModel.h"

#include <algorithm>

namespace plotara::player {

bool SeriesFilter::any() const {
    return std::find(hidden_.begin(), hidden_.end(), true) != hidden_.end();
}

void SeriesFilter::set(int index, bool hide) {
    if (index < 0) return;
    auto i = static_cast<std::size_t>(index);
    if (i >= hidden_.size()) {
        if (!hide) return;
        hidden_.resize(i + 1, false);
    }
    hidden_[i] = hide;
}

ChartModel withoutHidden(const ChartModel& model, const SeriesFilter& filter) {
    ChartModel out = model;
    int index = 0;
    for (auto* list : {&out.datasets, &out.linesets}) {
        for (Series& s : *list) {
            if (filter.hides(index++)) {
                for (DataPoint& p : s.points)
                    p.value = missingValue;
                s.xy.clear();
            }
        }
    }
    return out;
}

} // namespace plotara::player

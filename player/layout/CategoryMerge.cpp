#include "player/layout/CategoryMerge.h"

#include "player/layout/ChartStyle.h"
#include "player/layout/Motion.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace plotara::player {

namespace {

std::size_t categoryCountOf(const ChartModel& m) {
    std::size_t n = m.categories.size();
    for (const auto* list : {&m.datasets, &m.linesets})
        for (const Series& s : *list)
            n = std::max(n, s.points.size());
    return n;
}

// Every series' points in the merged order: a kept or new category's point from the new chart,
// a leaving category's without a value.
void mergePoints(std::vector<Series>& list, const std::vector<int>& positions) {
    for (Series& s : list) {
        std::vector<DataPoint> points(positions.size());
        for (std::size_t k = 0; k < positions.size(); ++k) {
            const int at = positions[k];
            if (at >= 0 && static_cast<std::size_t>(at) < s.points.size())
                points[k] = std::move(s.points[static_cast<std::size_t>(at)]);
        }
        s.points = std::move(points);
    }
}

// A single series colours its columns by position: each point keeps the colour of its position
// in its own chart (a leaving one its old position's) while the positions shift in the frame.
void keepPointColors(CategoryMerge& merged, const ChartModel& now,
                     const std::vector<std::size_t>& places) {
    if (!now.singleSeries || merged.model.datasets.empty()) return;
    const ChartStyle style(now);
    std::vector<DataPoint>& points = merged.model.datasets.front().points;
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (!points[k].attrs.has("color"))
            points[k].attrs.set("color", hexOf(style.seriesColor(places[k])));
    }
}

} // namespace

std::optional<CategoryMerge> mergeCategories(const ChartModel& now,
                                             const std::vector<std::string>& before, double share) {
    const std::size_t count = categoryCountOf(now);
    std::vector<std::string> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        keys.push_back(categoryKey(now, i));
    const std::unordered_set<std::string> newKeys(keys.begin(), keys.end());
    const std::unordered_set<std::string> oldKeys(before.begin(), before.end());
    // The leaving categories, each after the last category before it that the new chart keeps
    // (position -1: at the front).
    std::unordered_map<std::string, std::vector<std::size_t>> after;
    std::vector<std::size_t> front;
    const std::string* anchor = nullptr;
    bool differ = false;
    for (std::size_t k = 0; k < before.size(); ++k) {
        if (newKeys.contains(before[k])) {
            anchor = &before[k];
            continue;
        }
        differ = true;
        (anchor ? after[*anchor] : front).push_back(k);
    }
    for (const std::string& key : keys)
        differ = differ || !oldKeys.contains(key);
    if (!differ) return std::nullopt;

    CategoryMerge out;
    std::vector<Category> categories;
    std::vector<std::size_t> places; // each category's position in its own chart
    auto leave = [&](const std::vector<std::size_t>& leaving) {
        for (std::size_t k : leaving) {
            Category& c = categories.emplace_back();
            if (before[k].rfind("\x1f#", 0) != 0) c.label = before[k];
            out.slotShares.push_back(1 - share);
            out.positions.push_back(-1);
            places.push_back(k);
        }
    };
    leave(front);
    for (std::size_t i = 0; i < count; ++i) {
        categories.push_back(i < now.categories.size() ? now.categories[i] : Category{});
        out.slotShares.push_back(oldKeys.contains(keys[i]) ? 1 : share);
        out.positions.push_back(static_cast<int>(i));
        places.push_back(i);
        if (auto found = after.find(keys[i]); found != after.end()) leave(found->second);
    }
    out.model = now;
    out.model.categories = std::move(categories);
    mergePoints(out.model.datasets, out.positions);
    mergePoints(out.model.linesets, out.positions);
    for (VLine& v : out.model.vlines) {
        auto at = std::find(out.positions.begin(), out.positions.end(), static_cast<int>(v.after));
        if (at != out.positions.end())
            v.after = static_cast<std::size_t>(at - out.positions.begin());
    }
    keepPointColors(out, now, places);
    return out;
}

} // namespace plotara::player

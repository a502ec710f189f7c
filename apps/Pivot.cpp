#include "apps/Pivot.h"

#include "apps/CellNumber.h"
#include "apps/Failures.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <string_view>
#include <unordered_map>

namespace plotara::apps {

namespace {

// Numbers the distinct values of a column in order of first appearance.
class Interner {
public:
    std::size_t id(std::string value) {
        const auto [at, added] = ids_.try_emplace(value, values_.size());
        if (added) values_.push_back(std::move(value));
        return at->second;
    }
    std::vector<std::string>& values() { return values_; }

private:
    std::unordered_map<std::string, std::size_t> ids_;
    std::vector<std::string> values_;
};

// The category ids in chart order: a topological order of "comes before" within each series,
// the earliest-appearing category first whenever several are free; a cycle (series that
// disagree) is broken at its earliest-appearing category.
std::vector<std::size_t> mergedOrder(std::size_t count,
                                     const std::vector<std::vector<std::size_t>>& sequences) {
    std::vector<std::vector<std::size_t>> next(count);
    std::vector<std::size_t> incoming(count, 0);
    for (const std::vector<std::size_t>& sequence : sequences)
        for (std::size_t i = 1; i < sequence.size(); ++i)
            if (sequence[i - 1] != sequence[i]) {
                next[sequence[i - 1]].push_back(sequence[i]);
                ++incoming[sequence[i]];
            }
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> free;
    for (std::size_t id = 0; id < count; ++id)
        if (incoming[id] == 0) free.push(id);
    std::vector<bool> placed(count, false);
    std::vector<std::size_t> order;
    order.reserve(count);
    std::size_t cursor = 0;
    while (order.size() < count) {
        if (free.empty()) {
            while (placed[cursor])
                ++cursor;
            free.push(cursor);
        }
        const std::size_t id = free.top();
        free.pop();
        if (placed[id]) continue;
        placed[id] = true;
        order.push_back(id);
        for (std::size_t after : next[id])
            if (incoming[after] > 0 && --incoming[after] == 0 && !placed[after]) free.push(after);
    }
    return order;
}

} // namespace

SeriesGroups groupBySeries(const CellTable& table, std::size_t seriesColumn) {
    Interner names;
    std::vector<std::vector<std::size_t>> rows;
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        const std::size_t id = names.id(trimBlanks(table.cell(row, seriesColumn)));
        if (id == rows.size()) rows.emplace_back();
        rows[id].push_back(row);
    }
    SeriesGroups groups;
    for (std::size_t id : sortedOrder(names.values())) {
        groups.names.push_back(std::move(names.values()[id]));
        groups.rows.push_back(std::move(rows[id]));
    }
    return groups;
}

LongForm pivotLongForm(const CellTable& table, std::size_t categoryColumn, std::size_t seriesColumn,
                       bool sortCategories) {
    const SeriesGroups groups = groupBySeries(table, seriesColumn);
    Interner categories;
    std::vector<std::size_t> categoryOfRow(table.rowCount());
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        categoryOfRow[row] = categories.id(trimBlanks(table.cell(row, categoryColumn)));
    std::vector<std::vector<std::size_t>> sequences(groups.rows.size());
    for (std::size_t s = 0; s < groups.rows.size(); ++s)
        for (std::size_t row : groups.rows[s])
            sequences[s].push_back(categoryOfRow[row]);

    const std::size_t count = categories.values().size();
    const std::vector<std::size_t> order =
        sortCategories ? sortedOrder(categories.values()) : mergedOrder(count, sequences);
    std::vector<std::size_t> position(count);
    LongForm form;
    for (std::size_t p = 0; p < order.size(); ++p) {
        position[order[p]] = p;
        form.categories.push_back(categories.values()[order[p]]);
    }
    form.series = groups.names;
    form.cells.resize(groups.rows.size());
    for (std::size_t s = 0; s < groups.rows.size(); ++s) {
        auto& cells = form.cells[s];
        for (std::size_t i = 0; i < groups.rows[s].size(); ++i)
            cells.emplace_back(position[sequences[s][i]], groups.rows[s][i]);
        std::stable_sort(cells.begin(), cells.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 1; i < cells.size(); ++i)
            if (cells[i].first == cells[i - 1].first)
                throw ChartFailure("two values for series '" + form.series[s] + "' at category '" +
                                   form.categories[cells[i].first] + "' (" +
                                   table.where(cells[i - 1].second) + " and " +
                                   table.where(cells[i].second) + " of " + table.origin +
                                   "); aggregate them first");
    }
    return form;
}

} // namespace plotara::apps

// The command line's long-form pivot (--series) on shuffled rows, n doubling from 80,000: the
// time per row must stay flat (O(n log n) at worst); the reported complexity fit says which.
#include "apps/CellTable.h"
#include "apps/Pivot.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

namespace plotara {
namespace {

constexpr std::size_t seriesCount = 80;

// n rows of 80 series over n / 80 dates, in random order.
apps::CellTable longRows(std::size_t n) {
    apps::CellTable table;
    table.header = {"date", "symbol", "price"};
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t day = i / seriesCount, series = i % seriesCount;
        std::string date = "2000-", symbol(1, 'S');
        date += std::to_string(100000 + day);
        symbol += std::to_string(series);
        rows.push_back({date, symbol, std::to_string((day * 7 + series * 13) % 1000)});
    }
    std::shuffle(rows.begin(), rows.end(), std::mt19937(42));
    for (const std::vector<std::string>& row : rows)
        table.addRow(row);
    return table;
}

void BM_PivotLongForm(benchmark::State& state, bool sortCategories) {
    const apps::CellTable table = longRows(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        apps::LongForm form = apps::pivotLongForm(table, 0, 1, sortCategories);
        benchmark::DoNotOptimize(form.cells.data());
    }
    state.SetComplexityN(state.range(0));
    state.counters["rows_per_s"] = benchmark::Counter(
        static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK_CAPTURE(BM_PivotLongForm, merged_order, false)
    ->Arg(80000)
    ->Arg(160000)
    ->Arg(320000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);
BENCHMARK_CAPTURE(BM_PivotLongForm, sorted_categories, true)
    ->Arg(80000)
    ->Arg(160000)
    ->Arg(320000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

} // namespace
} // namespace plotara

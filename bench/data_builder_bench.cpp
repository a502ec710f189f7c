// Recording and document generation of the chart data builder, against the cost of copying a
// text as long as the document (the memcpy bound).
//
// Each workload runs three ways: record + getXML (the figure a host sees), getXML alone with the
// recording done outside the timed region, and a plain copy of a buffer of the document's size.
// A host keeps one data object for the life of its control and builds one document after the
// other in it, so the object is reused across iterations; FreshObject shows the first document
// of a new object, which also pays for faulting in its memory.
#include "core/SafeArray.h"
#include "data/PlotaraData.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plotara {
namespace {

// Values that look like real data: varied widths, some decimals.
std::vector<String> makeValues(int count) {
    std::vector<String> values;
    values.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        values.push_back(std::to_wstring((i * 7919) % 100000 / 10.0).substr(0, 6));
    return values;
}

using Recipe = std::function<void(PlotaraData&)>;

Recipe singleSeries(int points) {
    return [values = makeValues(points)](PlotaraData& data) {
        data.setChartTypeNumber(L"1");
        data.setChartParams(L"caption=Single series;numberPrefix=$");
        for (const String& v : values)
            data.addChartData(v);
    };
}

Recipe multiSeries(int datasets, int points, bool userColours) {
    return [=, values = makeValues(points)](PlotaraData& data) {
        data.setChartTypeNumber(L"11");
        if (userColours) data.addColors(L"FF0000;00FF00;0000FF;FFFF00;00FFFF;FF00FF");
        data.setChartParams(L"caption=Multi series");
        for (int c = 0; c < points; ++c)
            data.addCategory(L"C" + std::to_wstring(c));
        for (int d = 0; d < datasets; ++d) {
            data.addDataset(L"Series " + std::to_wstring(d), L"showValues=0");
            for (const String& v : values)
                data.addChartData(v);
        }
    };
}

Recipe stacked(int stacks, int datasetsPerStack, int points) {
    return [=, values = makeValues(points)](PlotaraData& data) {
        data.setChartTypeNumber(L"26");
        for (int c = 0; c < points; ++c)
            data.addCategory(L"C" + std::to_wstring(c));
        for (int s = 0; s < stacks; ++s) {
            data.createMSStDataset();
            for (int d = 0; d < datasetsPerStack; ++d) {
                data.addMSStSubDataset(L"S" + std::to_wstring(s) + L"." + std::to_wstring(d));
                for (const String& v : values)
                    data.addChartData(v);
            }
        }
    };
}

Recipe bubbles(int datasets, int points) {
    // The parameter texts are made once: the benchmark measures the builder, not the host's
    // string concatenation.
    const std::vector<String> values = makeValues(points);
    std::vector<String> params;
    for (int p = 0; p < points; ++p)
        params.push_back(L"Y=" + values[static_cast<std::size_t>((p * 31) % points)] + L";Z=" +
                         std::to_wstring(p % 97 + 1));
    return [=](PlotaraData& data) {
        data.setChartTypeNumber(L"30");
        for (int d = 0; d < datasets; ++d) {
            data.addDataset(L"Group " + std::to_wstring(d));
            for (int p = 0; p < points; ++p)
                data.addChartData(values[static_cast<std::size_t>(p)],
                                  params[static_cast<std::size_t>(p)]);
        }
    };
}

Recipe arrayImport(int rows, int columns) {
    std::vector<std::vector<Variant>> cells;
    for (int r = 0; r < rows; ++r) {
        std::vector<Variant> row{Variant(L"Series " + std::to_wstring(r)), Variant(L"")};
        for (int c = 2; c < columns; ++c)
            row.emplace_back(static_cast<double>((r * 131 + c * 17) % 1000) / 4);
        cells.push_back(std::move(row));
    }
    std::vector<Variant> labels;
    for (int c = 2; c < columns; ++c)
        labels.emplace_back(L"C" + std::to_wstring(c));
    auto table = std::make_shared<Variant>(SafeArray::of2D(std::move(cells)));
    auto categories = std::make_shared<Variant>(SafeArray::of(std::move(labels)));
    return [=](PlotaraData& data) {
        data.setChartTypeNumber(L"11");
        data.addChartDataFromArray(*table, *categories);
    };
}

void recordAndGenerate(benchmark::State& state, const Recipe& recipe, int points) {
    std::size_t length = 0;
    PlotaraData data;
    for (auto _ : state) {
        recipe(data);
        const String document = data.getXML();
        length = document.size();
        benchmark::DoNotOptimize(document.data());
    }
    state.SetItemsProcessed(state.iterations() * points);
    state.counters["doc_chars"] = static_cast<double>(length);
}

void generateOnly(benchmark::State& state, const Recipe& recipe, int points) {
    PlotaraData data;
    for (auto _ : state) {
        state.PauseTiming();
        recipe(data);
        state.ResumeTiming();
        const String document = data.getXML();
        benchmark::DoNotOptimize(document.data());
    }
    state.SetItemsProcessed(state.iterations() * points);
}

void freshObject(benchmark::State& state, const Recipe& recipe, int points) {
    for (auto _ : state) {
        PlotaraData data;
        recipe(data);
        const String document = data.getXML();
        benchmark::DoNotOptimize(document.data());
    }
    state.SetItemsProcessed(state.iterations() * points);
}

// Copies a buffer as long as the workload's document.
void copyBound(benchmark::State& state, const Recipe& recipe) {
    PlotaraData data;
    recipe(data);
    const String document = data.getXML();
    const std::size_t bytes = document.size() * sizeof(wchar_t);
    std::vector<char> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), document.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

struct Workload {
    const char* name;
    Recipe recipe;
    int points;
};

int registerAll() {
    const std::vector<Workload> workloads = {
        {"SingleSeries/16383", singleSeries(16383), 16383},
        {"SingleSeries/32767", singleSeries(32767), 32767},
        {"MultiSeries/8x2000", multiSeries(8, 2000, false), 16000},
        {"MultiSeries/16x2000", multiSeries(16, 2000, false), 32000},
        {"MultiSeriesColours/16x2000", multiSeries(16, 2000, true), 32000},
        {"Stacked/2x4x2000", stacked(2, 4, 2000), 16000},
        {"Stacked/4x4x2000", stacked(4, 4, 2000), 32000},
        {"Bubble/8x2000", bubbles(8, 2000), 16000},
        {"Bubble/16x2000", bubbles(16, 2000), 32000},
        {"ArrayImport/16x1000", arrayImport(16, 1000), 16 * 998},
        {"ArrayImport/32x1000", arrayImport(32, 1000), 32 * 998},
    };
    benchmark::RegisterBenchmark("FreshObject/SingleSeries/32767", [](benchmark::State& s) {
        freshObject(s, singleSeries(32767), 32767);
    })->Unit(benchmark::kMillisecond);
    for (const Workload& w : workloads) {
        benchmark::RegisterBenchmark(
            (std::string("RecordAndGenerate/") + w.name).c_str(),
            [w](benchmark::State& s) { recordAndGenerate(s, w.recipe, w.points); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            (std::string("GenerateOnly/") + w.name).c_str(),
            [w](benchmark::State& s) { generateOnly(s, w.recipe, w.points); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("CopyBound/") + w.name).c_str(),
                                     [w](benchmark::State& s) { copyBound(s, w.recipe); })
            ->Unit(benchmark::kMicrosecond);
    }
    return 0;
}

const int registered = registerAll();

} // namespace
} // namespace plotara

// Inputs that once cost quadratic time, at doubling sizes: a chart element with n attributes,
// and n font styles each applied to a chart object. Each benchmark reports the time per element
// ("per_element", constant when the cost is linear) and fits the complexity over the range;
// a quadratic path shows a per-element time that doubles with n and a fit worse than N log N.
#include "player/layout/ChartStyle.h"
#include "player/model/ChartParser.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace plotara::player;

std::string manyAttributes(std::int64_t n) {
    std::string xml = "<chart";
    for (std::int64_t i = 0; i < n; ++i)
        xml += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
    return xml + "><set label='A' value='1'/></chart>";
}

std::string manyStyles(std::int64_t n) {
    std::string definitions, applications;
    const char* objects[] = {"Caption", "DataLabels", "DataValues", "Legend"};
    for (std::int64_t i = 0; i < n; ++i) {
        std::string name(1, 'S');
        name += std::to_string(i);
        definitions += "<style name='" + name + "' type='font' size='" + std::to_string(8 + i % 9) +
                       "' color='" + (i % 2 ? "FF0000" : "0000FF") + "'/>";
        applications += std::string("<apply toObject='") + objects[i % 4] + "' styles='" + name +
                        ",S" + std::to_string(i / 2) + "'/>";
    }
    return "<chart caption='c'><set label='A' value='1'/><styles><definition>" + definitions +
           "</definition><application>" + applications + "</application></styles></chart>";
}

void perElement(benchmark::State& state) {
    state.SetComplexityN(state.range(0));
    state.counters["per_element"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ParseManyAttributes(benchmark::State& state) {
    const std::string xml = manyAttributes(state.range(0));
    for (auto _ : state) {
        ParseResult parsed = parseChartXml(xml);
        benchmark::DoNotOptimize(parsed.model.chart.find("a0"));
    }
    perElement(state);
}
BENCHMARK(BM_ParseManyAttributes)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

void BM_FontsOfManyStyles(benchmark::State& state) {
    const ParseResult parsed = parseChartXml(manyStyles(state.range(0)));
    for (auto _ : state) {
        const ChartStyle style(parsed.model);
        for (int role = 0; role < 10; ++role)
            benchmark::DoNotOptimize(style.font(static_cast<TextRole>(role)).size);
    }
    perElement(state);
}
BENCHMARK(BM_FontsOfManyStyles)
    ->Arg(4000)
    ->Arg(8000)
    ->Arg(16000)
    ->Arg(32000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

} // namespace

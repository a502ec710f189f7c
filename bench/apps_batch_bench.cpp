// `plotara batch` on 500 column charts of 12 categories, PNG at 640 x 480, with one worker and
// with two: the job file is read and every chart drawn, encoded and written atomically, as the
// command does. charts_per_second is the figure to hold against the target (300 on 2 cores).
// The same charts as SVG and as web pages, side by side on one worker: the page's rate is held
// against the SVG's (within 20%), and page_bytes is the size of one 12-column page.
#include "apps/Batch.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace plotara {
namespace {

namespace fs = std::filesystem;

constexpr int charts = 500;

// A folder with sales.csv (12 months) and the job lines for `charts` PNG outputs.
struct BatchFolder {
    fs::path dir;
    std::string jobs;

    explicit BatchFolder(const std::string& extension = ".png") {
        std::string pattern = (fs::temp_directory_path() / "plotara-batch-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir = pattern;
        std::ofstream csv(dir / "sales.csv");
        csv << "month,units\n";
        const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        for (int m = 0; m < 12; ++m)
            csv << months[m] << ',' << (m * 37 + 11) % 90 + 5 << '\n';
        for (int i = 0; i < charts; ++i)
            jobs += R"({"type":"column2d","csv":")" + (dir / "sales.csv").string() +
                    R"(","output":")" +
                    (dir / (std::string(1, 'c') += std::to_string(i) + extension)).string() +
                    R"(","width":640,"height":480,"param":{"caption":"Chart )" + std::to_string(i) +
                    "\"}}\n";
    }
    ~BatchFolder() { fs::remove_all(dir); }
};

void BM_Batch500ColumnPng(benchmark::State& state) {
    BatchFolder folder;
    const int workers = static_cast<int>(state.range(0));
    std::ostringstream quiet;
    for (auto _ : state) {
        std::istringstream in(folder.jobs);
        const auto jobs = apps::readBatchJobs(in, "bench.jsonl", quiet);
        const auto failures = apps::renderBatch(jobs, workers, quiet, false);
        if (!failures.empty()) state.SkipWithError(failures.front().message.c_str());
    }
    state.counters["charts_per_second"] =
        benchmark::Counter(static_cast<double>(charts) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Batch500ColumnPng)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void batchVector(benchmark::State& state, const std::string& extension) {
    BatchFolder folder(extension);
    std::ostringstream quiet;
    for (auto _ : state) {
        std::istringstream in(folder.jobs);
        const auto jobs = apps::readBatchJobs(in, "bench.jsonl", quiet);
        const auto failures = apps::renderBatch(jobs, 1, quiet, false);
        if (!failures.empty()) state.SkipWithError(failures.front().message.c_str());
    }
    state.counters["charts_per_second"] =
        benchmark::Counter(static_cast<double>(charts) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["page_bytes"] =
        static_cast<double>(fs::file_size(folder.dir / ("c0" + extension)));
}

void BM_Batch500ColumnSvg(benchmark::State& state) {
    batchVector(state, ".svg");
}
void BM_Batch500ColumnHtml(benchmark::State& state) {
    batchVector(state, ".html");
}

BENCHMARK(BM_Batch500ColumnSvg)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3);
BENCHMARK(BM_Batch500ColumnHtml)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3);

} // namespace
} // namespace plotara

// Database imports from SQLite against a bare loop that steps the same query and reads the same
// columns through the C API. The ratio of the two is the cost of the recordset and the engine.
#include "core/FilePath.h"
#include "data/ArrayClass.h"
#include "data/PlotaraData.h"
#include "data/detail/ArrayClassTestAccess.h"
#include "platform/sqlite/SqliteDatabase.h"
#include "platform/sqlite/SqliteRecordset.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace plotara {
namespace {

constexpr int singleRows = 32767; // the most points a 16-bit counter allows
constexpr int groups = 16, rowsPerGroup = 2000;

const char* singleQuery = "SELECT label, value FROM points ORDER BY id";
const char* groupedQuery = "SELECT grp, value FROM grouped ORDER BY grp, id";

// One database for the whole run, in a temporary folder removed at exit.
const String& databaseFile() {
    static const String file = [] {
        std::string dir = (std::filesystem::temp_directory_path() / "plotara-bench-XXXXXX");
        if (::mkdtemp(dir.data()) == nullptr) std::abort();
        static const std::string removeAtExit = dir;
        std::atexit([] { std::filesystem::remove_all(removeAtExit); });
        const String path = fromUtf8(dir + "/bench.db");
        auto db = SqliteDatabase::open(toPath(path), SqliteDatabase::Mode::Create);
        db->execute(L"CREATE TABLE points (id INTEGER PRIMARY KEY, label TEXT, value REAL);"
                    L"CREATE TABLE grouped (id INTEGER PRIMARY KEY, grp TEXT, value REAL);"
                    L"BEGIN;");
        for (int i = 0; i < singleRows; ++i)
            db->execute(L"INSERT INTO points (label, value) VALUES ('P" + std::to_wstring(i) +
                        L"', " + std::to_wstring(i % 1000) + L".25)");
        for (int g = 0; g < groups; ++g)
            for (int i = 0; i < rowsPerGroup; ++i)
                db->execute(L"INSERT INTO grouped (grp, value) VALUES ('Region " +
                            std::to_wstring(100 + g) + L"', " + std::to_wstring(i) + L".5)");
        db->execute(L"COMMIT");
        return path;
    }();
    return file;
}

// Steps the query and reads both columns as text, as an import reads them.
void bareLoop(benchmark::State& state, const char* sql, int rows) {
    auto db = SqliteDatabase::open(toPath(databaseFile()));
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db->handle(), sql, -1, &statement, nullptr);
        std::size_t bytes = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(statement, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(statement, 0));
            benchmark::DoNotOptimize(sqlite3_column_double(statement, 1));
        }
        sqlite3_finalize(statement);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_BareLoop_Single(benchmark::State& state) {
    bareLoop(state, singleQuery, singleRows);
}
BENCHMARK(BM_BareLoop_Single)->Unit(benchmark::kMillisecond);

void BM_BareLoop_Grouped(benchmark::State& state) {
    bareLoop(state, groupedQuery, groups * rowsPerGroup);
}
BENCHMARK(BM_BareLoop_Grouped)->Unit(benchmark::kMillisecond);

// The recordset alone: the same rows and columns through SqliteRecordset::field.
void BM_Recordset_Single(benchmark::State& state) {
    auto db = SqliteDatabase::open(toPath(databaseFile()));
    for (auto _ : state) {
        auto rs = db->query(fromUtf8(singleQuery));
        while (!rs->eof()) {
            benchmark::DoNotOptimize(rs->field(L"label"));
            benchmark::DoNotOptimize(rs->field(L"value"));
            rs->MoveNext();
        }
    }
    state.SetItemsProcessed(state.iterations() * singleRows);
}
BENCHMARK(BM_Recordset_Single)->Unit(benchmark::kMillisecond);

// A host imports into the data object its control keeps for life; resetData starts each import
// on an empty record in the memory of the previous one.
void BM_Import_Single(benchmark::State& state) {
    auto db = SqliteDatabase::open(toPath(databaseFile()));
    PlotaraData data;
    data.setChartTypeNumber(L"1");
    for (auto _ : state) {
        data.resetData();
        auto rs = db->query(fromUtf8(singleQuery));
        data.addDataFromDatabase(*rs, L"value", L"label");
        if (ArrayClassTestAccess::counters(data.engine()).dataPointCount != singleRows)
            state.SkipWithError("not every row was imported");
    }
    state.SetItemsProcessed(state.iterations() * singleRows);
}
BENCHMARK(BM_Import_Single)->Unit(benchmark::kMillisecond);

// The engine alone: the same rows as addChartData calls with their texts read beforehand, the
// value and the composed label parameter. Bare loop plus this is the floor of BM_Import_Single
// for as long as the import stores through the same record.
void BM_Store_Single(benchmark::State& state) {
    std::vector<std::pair<String, String>> points;
    {
        auto db = SqliteDatabase::open(toPath(databaseFile()));
        for (auto rs = db->query(fromUtf8(singleQuery)); !rs->eof(); rs->MoveNext())
            points.emplace_back(toText(rs->field(L"value")),
                                L"label=" + toText(rs->field(L"label")) + L";");
    }
    PlotaraData data;
    data.setChartTypeNumber(L"1");
    for (auto _ : state) {
        data.resetData();
        for (const auto& [value, label] : points)
            data.addChartData(value, label);
    }
    state.SetItemsProcessed(state.iterations() * singleRows);
}
BENCHMARK(BM_Store_Single)->Unit(benchmark::kMillisecond);

void BM_Import_Grouped(benchmark::State& state) {
    auto db = SqliteDatabase::open(toPath(databaseFile()));
    PlotaraData data;
    data.setChartTypeNumber(L"11");
    for (auto _ : state) {
        data.resetData();
        auto rs = db->query(fromUtf8(groupedQuery));
        data.addDatasetsFromDatabase(*rs, L"grp", L"value");
        if (ArrayClassTestAccess::counters(data.engine()).datasetCount != groups)
            state.SkipWithError("not every group was imported");
    }
    state.SetItemsProcessed(state.iterations() * groups * rowsPerGroup);
}
BENCHMARK(BM_Import_Grouped)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace plotara

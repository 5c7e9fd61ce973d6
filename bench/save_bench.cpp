// Saving a catalogue of 1,000,000 events: as a dBase level 7 table, as a
// dBase III table, as a Paradox table and as delimited text (";"), each
// through a temporary file renamed over the target. Run by hand:
//   build/bench/save_bench --benchmark_min_time=1
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "MillionEvents.h"
#include "analysis/DBBase.h"
#include "dbase/DbaseFile.h"
#include "files/TableFiles.h"

namespace zorv {
namespace {

std::string scratch(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / "zorv-save-bench";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

void BM_SaveLevel7(benchmark::State& state) {
    const Table& t = millionEvents();
    const std::string path = scratch("katalog.dbf");
    for (auto _ : state) writeTableFile(t, path);
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}

void BM_SaveDBase3(benchmark::State& state) {
    const Table& t = millionEvents();
    const std::string path = scratch("katalog3.dbf");
    for (auto _ : state) writeDbase(t, path, DbaseLevel::DBase3);
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}

void BM_SaveParadox(benchmark::State& state) {
    const Table& t = millionEvents();
    const std::string path = scratch("katalog.db");
    for (auto _ : state) writeTableFile(t, path);
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}

void BM_ExportCsv(benchmark::State& state) {
    Table t = millionEvents().copyView();
    const std::string path = scratch("katalog.csv");
    AnalysisSettings settings;
    for (auto _ : state) {
        DBBase base(settings, &t);
        base.SaveTableAsText(path, ";");
    }
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}

BENCHMARK(BM_SaveLevel7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDBase3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveParadox)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();

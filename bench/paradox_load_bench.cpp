// Loading the same catalogue from a Paradox table and from a dBase level 7
// table (the sample model's fields, ZORV_BENCH_EVENTS events, 1,000,000 by
// default), and, for comparison, reading every record through pxlib's
// record access (PX_get_record, the way the loader went before it walked the
// data blocks; left out above 2,000,000 records, where it takes minutes).
// The files are written to /tmp before the runs and removed after them.
//
//   ZORV_BENCH_EVENTS=10000000 flock /tmp/zorv-build.lock build/bench/paradox_load_bench

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SampleCatalogue.h"
#include "dbase/DbaseFile.h"
#include "paradox/ParadoxFile.h"
#include "paradox/ParadoxLayout.h"
#include "paradox/PxDocument.h"

namespace {

using namespace zorv;

std::string paradoxFile, dbaseFile;
std::size_t records = 0;

void BM_ReadDbase(benchmark::State& state) {
    for (auto _ : state) {
        Table t = readDbase(dbaseFile);
        benchmark::DoNotOptimize(t.recordCount());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
}

void BM_ReadParadox(benchmark::State& state) {
    for (auto _ : state) {
        Table t = readParadox(paradoxFile);
        benchmark::DoNotOptimize(t.recordCount());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
}

void BM_PxlibRecordAccess(benchmark::State& state) {
    std::ifstream in(paradoxFile, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const paradox::ParadoxLayout layout = paradox::checkParadoxFile(bytes, paradoxFile);
    std::vector<char> record(static_cast<std::size_t>(layout.recordSize));
    for (auto _ : state) {
        paradox::PxDocument doc;
        if (!doc.openMemory(bytes)) state.SkipWithError("pxlib cannot open the table");
        for (std::int32_t i = 0; i < layout.recordCount; ++i) doc.readRecord(i, record.data());
        benchmark::DoNotOptimize(record.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    sample::SampleOptions o;
    o.firstYear = 1976;
    o.lastYear = 2005;
    const char* events = std::getenv("ZORV_BENCH_EVENTS");
    o.expectedEvents = events ? std::atof(events) : 1e6;
    const std::string stem = "/tmp/zorv-paradox-bench-" + std::to_string(::getpid());
    paradoxFile = stem + ".db";
    dbaseFile = stem + ".dbf";
    {
        const Table t = sample::makeSampleCatalogue(o);
        records = t.recordCount();
        writeParadox(t, paradoxFile);
        writeDbase(t, dbaseFile);
    }
    std::printf("%zu events\n", records);
    benchmark::RegisterBenchmark("BM_ReadDbase", BM_ReadDbase)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ReadParadox", BM_ReadParadox)->Unit(benchmark::kMillisecond);
    if (records <= 2000000)
        benchmark::RegisterBenchmark("BM_PxlibRecordAccess", BM_PxlibRecordAccess)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(paradoxFile.c_str());
    std::remove(dbaseFile.c_str());
    return 0;
}

// Importing a text catalogue of 1,000,000 lines (the TAB export of the
// million-event catalogue, with its header line): reading the file, building
// the table, writing it as dBase. Run by hand: build/bench/import_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "MillionEvents.h"
#include "analysis/DBBase.h"
#include "interchange/TextImport.h"
#include "text/LineFile.h"

namespace zorv {
namespace {

const std::string& millionLines() {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / "zorv-import-bench";
        std::filesystem::create_directories(dir);
        const std::string p = (dir / "katalog.txt").string();
        Table t = millionEvents().copyView();
        AnalysisSettings s;
        s.UserLocale = Locale::point();
        s.ProbabilityMask = "0.000000000";
        s.EnergyMask = "0.000000000e+00";
        DBBase(s, &t).SaveTableAsText(p, "\t");
        return p;
    }();
    return path;
}

void BM_ImportMillionLines(benchmark::State& state) {
    const std::string in = millionLines();
    const std::string out = std::filesystem::path(in).replace_filename("k.dbf").string();
    std::size_t records = 0;
    for (auto _ : state) {
        const std::vector<std::string> lines = readLines(in);
        const auto captions = discoverImportColumns(lines.front(), "\t");
        const ImportRoleNames roles;
        const std::vector<ImportColumn> columns = headerImportColumns(captions, roles);
        ImportOptions o;
        o.ignoreFirstLine = true;
        records = importTextCatalogue(lines, "\t", columns, roles, o, Locale::point(), out).records;
    }
    state.counters["records"] = double(records);
    std::filesystem::remove(out);
}

BENCHMARK(BM_ImportMillionLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();

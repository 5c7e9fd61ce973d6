// Catalogues in the forms other tools write: a 1,000,000-row comma CSV (the
// million-event catalogue as written by the CSV export: header, ISO dates,
// quoted texts) imported end to end (read, detect, map, sort, write dBase),
// and a 100,000-event QuakeML file read and built into a catalogue. Run by
// hand: build/bench/catalogue_forms_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "MillionEvents.h"
#include "files/TableFiles.h"
#include "interchange/CatalogueBuilder.h"
#include "interchange/CatalogueReader.h"
#include "interchange/CatalogueWriters.h"
#include "interchange/Projection.h"

namespace zorv {
namespace {

std::filesystem::path benchDir() {
    const auto dir = std::filesystem::temp_directory_path() / "zorv-forms-bench";
    std::filesystem::create_directories(dir);
    return dir;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string& millionCsv() {
    static const std::string path = [] {
        const std::string p = (benchDir() / "katalog.csv").string();
        writeCatalogue(millionEvents(), ExportForm::Csv, CatalogueFieldNames{}, nullptr, p);
        return p;
    }();
    return path;
}

const std::string& quakeMl100k() {
    static const std::string path = [] {
        const std::string p = (benchDir() / "katalog.xml").string();
        const Table& all = millionEvents();
        Table t(all.fields());
        for (int f = 0; f < t.fieldCount(); ++f) t.loadColumn(f).appendRows(all.column(f), nullptr, 100000);
        t.finishLoad();
        const Projection utm(32634);
        writeCatalogue(t, ExportForm::QuakeMl, CatalogueFieldNames{}, &utm, p);
        return p;
    }();
    return path;
}

void importFile(benchmark::State& state, const std::string& in, int epsg) {
    const std::string out = (benchDir() / "k.dbf").string();
    std::size_t records = 0;
    const CatalogueFieldNames names;
    for (auto _ : state) {
        const std::string bytes = readAll(in);
        const CatalogueRead read = readCatalogue(bytes, detectCatalogueForm(bytes));
        CatalogueBuildOptions o;
        o.decimalComma = read.dialect.decimalComma;
        o.epsg = epsg;
        CatalogueBuildReport report;
        const Table t =
            buildCatalogue(read.rows, autoColumnRoles(read.rows.header(), names), names, o, &report);
        writeTableFile(t, out);
        records = report.records;
    }
    state.counters["records"] = double(records);
    std::filesystem::remove(out);
}

void BM_ImportMillionRowCommaCsv(benchmark::State& state) { importFile(state, millionCsv(), 0); }
void BM_ImportQuakeMl100kEvents(benchmark::State& state) { importFile(state, quakeMl100k(), 32634); }

BENCHMARK(BM_ImportMillionRowCommaCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportQuakeMl100kEvents)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zorv

BENCHMARK_MAIN();

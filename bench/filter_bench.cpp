// select() of the catalogue filters on a 1,000,000-event catalogue held in
// memory: zone prefix and period, with the location test and the map
// rectangle, a zone list, and a user's expression with arithmetic.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>

#include "table/FilterExpression.h"
#include "table/Table.h"
#include "text/Dates.h"

namespace {

using namespace zorv;

constexpr std::size_t kEvents = 1'000'000;

// Ten years of events in date order, 60 zones in 10 departments, one event
// in ten not located (X = 0), coordinates in metres, energy in joules.
const Table& catalogue() {
    static const Table table = [] {
        Table t({{"ODDZIAL", FieldType::String, 12},
                 {"DATA", FieldType::Date},
                 {"X", FieldType::Integer},
                 {"Y", FieldType::Integer},
                 {"ENG", FieldType::Float},
                 {"MAGNITUDA", FieldType::Float}});
        std::mt19937 rng(1);
        std::uniform_int_distribution<int> zone(1, 6), dept(1, 10), coord(0, 9999);
        std::exponential_distribution<double> mag(2.3);
        const std::int32_t d0 = dayNumber(2000, 1, 1), d1 = dayNumber(2010, 1, 1);
        for (int f = 0; f < t.fieldCount(); ++f) t.loadColumn(f).reserve(kEvents);
        for (std::size_t i = 0; i < kEvents; ++i) {
            const std::string code = "G-" + std::to_string(dept(rng)) + "/" + std::to_string(zone(rng));
            const double m = 0.5 + mag(rng);
            const bool located = coord(rng) >= 1000;
            t.loadColumn(0).appendText(code);
            t.loadColumn(1).appendInt32(
                d0 + static_cast<std::int32_t>((d1 - d0) * static_cast<double>(i) / kEvents));
            t.loadColumn(2).appendInt32(located ? coord(rng) : 0);
            t.loadColumn(3).appendInt32(located ? coord(rng) : 0);
            t.loadColumn(4).appendDouble(std::pow(10.0, 1.5 * m + 1.8));
            t.loadColumn(5).appendDouble(m);
        }
        t.finishLoad();
        return t;
    }();
    return table;
}

void run(benchmark::State& state, const char* text) {
    const Table& t = catalogue();
    const auto e = FilterExpression::parse(text, t, {true, Locale::comma()});
    std::size_t selected = 0;
    for (auto _ : state) {
        const auto rows = e->select(t);
        selected = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["selected"] = static_cast<double>(selected);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kEvents));
}

void BM_ZonePeriod(benchmark::State& s) {
    run(s, "ODDZIAL = 'G-1/*' AND DATA>='01.04.2004' AND DATA<='30.06.2004'");
}
void BM_ZonePeriodLocated(benchmark::State& s) {
    run(s, "ODDZIAL = 'G-1/*' AND DATA>='01.04.2004' AND DATA<='30.06.2004' AND X<>0");
}
void BM_ZonePeriodLocatedMap(benchmark::State& s) {
    run(s,
        "ODDZIAL = 'G-1/*' AND DATA>='01.04.2004' AND DATA<='30.06.2004' AND X<>0 AND "
        "(X>=1000 AND X<=5000 AND Y>=2000 AND Y<=7000)");
}
// The period last: every record passes the cheap tests before it.
void BM_LocatedMapPeriodOr(benchmark::State& s) {
    run(s,
        "X<>0 OR (X>=1000 AND X<=5000 AND Y>=2000 AND Y<=7000) OR DATA>='01.04.2004' AND "
        "DATA<='30.06.2004'");
}
void BM_Located(benchmark::State& s) { run(s, "X<>0"); }
void BM_ZoneList(benchmark::State& s) { run(s, "( ODDZIAL='G-1/2' OR ODDZIAL='G-1/3' OR ODDZIAL='G-7/5' )"); }
void BM_ExtraArithmetic(benchmark::State& s) { run(s, "MAGNITUDA * 1.5 + 1.8 > ENG / 1e6 AND NOT X = Y"); }

BENCHMARK(BM_ZonePeriod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZonePeriodLocated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZonePeriodLocatedMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LocatedMapPeriodOr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Located)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoneList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtraArithmetic)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

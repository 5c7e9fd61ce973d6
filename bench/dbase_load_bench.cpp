// Loading a 1 000 000-event level-7 catalogue file (ODDZIAL C10, DATA D,
// X I, Y I, ENG O, MAGNITUDA O, GODZ I, MIN I, SEK I, OPIS C40, about 95 MB).
// The files are generated in /tmp before the runs (streamed, so they add
// nothing to the memory peak) and removed after them. Two kinds of OPIS:
// "typical" repeats a few hundred descriptions or is blank, "distinct" gives
// every event its own text, the worst case of the text dictionary.
//
//   build/bench/dbase_load_bench [--benchmark_filter=...]
// prints the load time per run and the process's peak resident memory.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "dbase/DbaseCodec.h"
#include "dbase/DbaseFile.h"
#include "dbase/DbaseHeader.h"
#include "text/Cp1250.h"
#include "text/Dates.h"

namespace {

using namespace zorv;

constexpr std::uint32_t kEvents = 1000000;

std::string typicalFile, distinctFile;

void generate(const std::string& path, bool distinctTexts) {
    DbaseHeader h;
    h.level7 = true;
    h.version = 0x04;
    h.languageDriver = kDbaseLanguageCp1250;
    h.languageDriverName = std::string(kDbaseLanguageNameCp1250);
    h.recordCount = kEvents;
    auto add = [&](const char* name, char type, int width) {
        DbaseField f;
        f.name = name;
        f.type = type;
        f.width = width;
        h.fields.push_back(f);
    };
    add("ODDZIAL", 'C', 10);
    add("DATA", 'D', 8);
    add("X", 'I', 4);
    add("Y", 'I', 4);
    add("ENG", 'O', 8);
    add("MAGNITUDA", 'O', 8);
    add("GODZ", 'I', 4);
    add("MIN", 'I', 4);
    add("SEK", 'I', 4);
    add("OPIS", 'C', 40);
    const std::string head = buildDbaseHeader(h, 2024, 3, 15);

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) throw std::runtime_error("cannot create " + path);
    std::fwrite(head.data(), 1, head.size(), out);
    std::mt19937_64 rng(20240315);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::string> zones, texts;
    for (int d = 1; d <= 6; ++d)
        for (int z = 1; z <= 5; ++z) zones.push_back("G-" + std::to_string(d) + "/" + std::to_string(z));
    for (int i = 0; i < 300; ++i)
        texts.push_back(utf8ToCp1250("ściana " + std::to_string(i % 40) + ", pokład 5" +
                                     std::to_string(i % 7) + (i % 3 ? ", wstrząs odczuwalny" : "")));
    const std::int32_t firstDay = dayNumber(1990, 1, 1), lastDay = dayNumber(2024, 1, 1);
    std::vector<unsigned char> rec(h.recordLength);
    for (std::uint32_t i = 0; i < kEvents; ++i) {
        rec[0] = ' ';
        auto at = [&](int f) { return rec.data() + h.fields[static_cast<std::size_t>(f)].offset; };
        encodeDbaseText(h.fields[0], utf8ToCp1250(zones[rng() % zones.size()]), at(0));
        encodeDbaseDate(h.fields[1],
                        firstDay + static_cast<std::int32_t>(std::int64_t{lastDay - firstDay} * i / kEvents),
                        at(1));
        putDbaseLong(static_cast<std::int32_t>(rng() % 20000) - 10000, at(2));
        putDbaseLong(static_cast<std::int32_t>(rng() % 20000) - 10000, at(3));
        const double logE = 2.0 + 6.0 * unit(rng);
        putDbaseDouble(std::pow(10.0, logE), at(4));
        putDbaseDouble((logE - 1.15) / 1.96, at(5));
        putDbaseLong(static_cast<std::int32_t>(rng() % 24), at(6));
        putDbaseLong(static_cast<std::int32_t>(rng() % 60), at(7));
        putDbaseLong(static_cast<std::int32_t>(rng() % 60), at(8));
        std::string opis;
        if (distinctTexts)
            opis =
                utf8ToCp1250("zjawisko nr " + std::to_string(i) + ", ściana " + std::to_string(rng() % 40));
        else if (rng() % 5 < 2)
            opis = texts[rng() % texts.size()];
        encodeDbaseText(h.fields[9], opis, at(9));
        std::fwrite(rec.data(), 1, rec.size(), out);
    }
    std::fputc(0x1A, out);
    std::fclose(out);
}

double peakRssMb() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
}

void load(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        Table t = readDbase(path);
        benchmark::DoNotOptimize(t.recordCount());
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
    state.counters["peak_rss_MB"] = peakRssMb();
}

void BM_ReadDbaseTypical(benchmark::State& state) { load(state, typicalFile); }
void BM_ReadDbaseDistinctTexts(benchmark::State& state) { load(state, distinctFile); }

void BM_OpenDbaseWritable(benchmark::State& state) {
    for (auto _ : state) {
        auto t = openDbase(typicalFile, true);
        benchmark::DoNotOptimize(t->recordCount());
    }
    state.SetItemsProcessed(state.iterations() * kEvents);
    state.counters["peak_rss_MB"] = peakRssMb();
}

BENCHMARK(BM_ReadDbaseTypical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDbaseDistinctTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDbaseWritable)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::string stem = "/tmp/zorv-dbase-bench-" + std::to_string(::getpid());
    typicalFile = stem + "-typical.dbf";
    distinctFile = stem + "-distinct.dbf";
    generate(typicalFile, false);
    generate(distinctFile, true);
    std::printf("peak RSS after generating the files: %.1f MB\n", peakRssMb());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak RSS after the loads: %.1f MB\n", peakRssMb());
    std::remove(typicalFile.c_str());
    std::remove(distinctFile.c_str());
    return 0;
}

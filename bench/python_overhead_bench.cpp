// The analyses of the sample catalogue run as zorv-batch runs them, in the
// process (no process start, no file written): the baseline against which
// tools/python_overhead.py measures the cost of a call through the Python
// module. Default settings, MMin of the preferences.
//
//   build/bench/python_overhead_bench [--benchmark_filter=np-hazard]
//   build/bench/python_overhead_bench --runs np-hazard 50

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <string_view>

#include "analysis/DBBase.h"
#include "base/Progress.h"
#include "catalogue/AnalysisSettings.h"
#include "catalogue/Preferences.h"
#include "catalogue/SettingsStore.h"
#include "files/TableFiles.h"
#include "registry/AnalysisRegistry.h"
#include "registry/AnalysisRequestOptions.h"

namespace zorv {
namespace {

class MapOptions : public OptionSource {
public:
    explicit MapOptions(std::map<std::string, std::string, std::less<>> values)
        : values_(std::move(values)) {}
    bool isSet(std::string_view name) const override { return values_.find(name) != values_.end(); }
    std::vector<std::string> values(std::string_view name) const override {
        const auto v = values_.find(name);
        return v == values_.end() ? std::vector<std::string>{} : std::vector<std::string>{v->second};
    }

private:
    std::map<std::string, std::string, std::less<>> values_;
};

// The zone analyses take two departments; the same go to zorv.run.
std::map<std::string, std::string, std::less<>> optionsOf(std::string_view name) {
    if (name.starts_with("zone-")) return {{"zones", "G-1,G-2"}};
    return {};
}

const Table& sample() {
    static const std::unique_ptr<Table> t = openTableFile(ZORV_SAMPLE_DIR "/katalog.dbf", false);
    return *t;
}

// zorv-batch reports the progress of the nonparametric estimator only.
class QuietProgress : public Progress {
public:
    void start(const std::string&, int, int) override {}
    void setRange(int, int) override {}
    void setPosition(int) override {}
    void hide() override {}
    bool isCancelled() const override { return false; }
    bool confirm(const std::string&) override { return true; }
};

// One run as zorv-batch makes it: the options and the settings are read
// for every run.
class Run {
public:
    explicit Run(const AnalysisEntry& entry)
        : entry_(entry),
          options_(optionsOf(entry.name)),
          progress_(entry.parameters == AnalysisParameters::NonParametric ? &quiet_ : nullptr) {}

    std::unique_ptr<Database> operator()() {
        const AnalysisRequest request = readAnalysisRequest(options_, entry_, prefs_, Locale::comma());
        const AnalysisSettings settings = RefreshAnalysisSettings(
            prefs_, {prefs_.a, prefs_.b, prefs_.MMin}, true,
            static_cast<std::int32_t>(sample().physicalCount()), store_, Locale::comma());
        int copyCounter = 1;
        std::unique_ptr<Table> copy = CopyCatalogueForAnalysis(sample(), settings, copyCounter);
        return entry_.make({settings, copy.get(), request, progress_, nullptr});
    }

private:
    const AnalysisEntry& entry_;
    const Preferences prefs_;
    MemorySettingsStore store_;
    const MapOptions options_;
    QuietProgress quiet_;
    Progress* progress_;
};

void RunAnalysis(benchmark::State& state, const AnalysisEntry* entry) {
    Run run(*entry);
    for (auto _ : state) benchmark::DoNotOptimize(run());
}

}  // namespace
}  // namespace zorv

// `--runs NAME COUNT` makes COUNT runs of one analysis and nothing else,
// for counting instructions under callgrind (tools/python_overhead.py
// --instructions), where the machine's load does not weigh.
int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--runs") {
        const zorv::AnalysisEntry* entry = zorv::findAnalysis(argv[2]);
        if (!entry) return 2;
        zorv::Run run(*entry);
        for (int i = std::atoi(argv[3]); i > 0; --i) benchmark::DoNotOptimize(run());
        return 0;
    }
    for (const zorv::AnalysisEntry& e : zorv::analysisRegistry())
        benchmark::RegisterBenchmark(e.name, zorv::RunAnalysis, &e)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

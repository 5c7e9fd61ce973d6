// The analyses of the sample catalogue run as zorv-batch runs them, in the
// process (no process start, no file written): the baseline against which
// tools/python_overhead.py measures the cost of a call through the Python
// module. Default settings, MMin of the preferences.
//
//   build/bench/python_overhead_bench [--benchmark_filter=np-hazard]

#include <benchmark/benchmark.h>

#include <map>

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

void RunAnalysis(benchmark::State& state, const AnalysisEntry* entry) {
    const Preferences prefs;
    MemorySettingsStore store;
    const MapOptions options(optionsOf(entry->name));
    QuietProgress quiet;
    Progress* progress = entry->parameters == AnalysisParameters::NonParametric ? &quiet : nullptr;
    for (auto _ : state) {
        // zorv-batch reads the options and the settings for every run.
        const AnalysisRequest request = readAnalysisRequest(options, *entry, prefs, Locale::comma());
        const AnalysisSettings settings = RefreshAnalysisSettings(
            prefs, {prefs.a, prefs.b, prefs.MMin}, true, static_cast<std::int32_t>(sample().physicalCount()),
            store, Locale::comma());
        int copyCounter = 1;
        std::unique_ptr<Table> copy = CopyCatalogueForAnalysis(sample(), settings, copyCounter);
        benchmark::DoNotOptimize(entry->make({settings, copy.get(), request, progress, nullptr}));
    }
}

}  // namespace
}  // namespace zorv

int main(int argc, char** argv) {
    for (const zorv::AnalysisEntry& e : zorv::analysisRegistry())
        benchmark::RegisterBenchmark(e.name, zorv::RunAnalysis, &e)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

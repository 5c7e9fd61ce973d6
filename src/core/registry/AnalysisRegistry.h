#pragma once
// Every analysis of the program, once: its zorv-batch name, the main-window
// command (action and tag) that starts it, the text of its parameter
// dialog, the chart kind its window draws, which parameters it takes, and
// the factory that builds it. The desktop commands and zorv-batch both look
// analyses up here, so the two programs build the same object from the same
// record and give identical tables.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Database.h"
#include "analysis/Periods.h"
#include "base/Progress.h"
#include "hazard/BValueStatistics.h"
#include "hazard/Backtest.h"
#include "hazard/HazardCache.h"
#include "hazard/HazardParameters.h"
#include "hazard/ParametricTables.h"
#include "hazard/TimeVariationsParameters.h"
#include "registry/ChartKind.h"
#include "spatial/HazardMapParameters.h"

namespace zorv {

// The parameter record an analysis takes, and so the dialog that asks for it.
enum class AnalysisParameters {
    None,            // no dialog (the recurrence graph)
    Period,          // the time-scale dialog
    EnergyTraces,    // the time-scale dialog with its two thresholds
    Zones,           // the two-step zone dialog
    ZoneActivity,    // the zone-activity dialog (zones and energy classes)
    NonParametric,   // the hazard dialog, nonparametric mode
    Parametric,      // the hazard dialog, parametric mode
    TimeVariations,  // the time-variations dialog
    Backtest,        // the forecast-verification dialog
    HazardMap,       // the hazard-map dialog
};

// Which records the frozen sample holds.
enum class SampleSelection {
    Filtered,        // the records the catalogue's filter passes
    WholeCatalogue,  // every record: the zones are the only selection
};

// The parameters of one run; each analysis reads the members of its kind.
struct AnalysisRequest {
    PeriodKind period = PeriodKind::Quarters;
    int maxClass = 9;                 // highest energy class
    double traceThreshold = 500.0;    // [J]
    double dischargeThreshold = 1e7;  // [J]
    std::vector<std::string> zones;   // zone statistics, in list order
    bool energyClasses = false;       // zone activity split into classes
    HazardParameters nonParametric;
    ParametricRequest parametric;
    TimeVariationsParameters timeVariations;
    BStatisticsOptions bStatistics;  // b-changes and zone-b: errors and Utsu tests (off by default)
    BacktestParameters backtest;
    HazardMapParameters hazardMap;
};

// What a factory builds from. `progress` may be null (no progress shown,
// nothing asked); `cache` is the nonparametric estimate kept between runs,
// null where none is kept.
struct AnalysisRun {
    const AnalysisSettings& settings;
    Table* sample;
    const AnalysisRequest& request;
    Progress* progress = nullptr;
    HazardCache* cache = nullptr;
};

using AnalysisFactory = std::unique_ptr<Database> (*)(const AnalysisRun&);

struct AnalysisEntry {
    const char* name;        // zorv-batch subcommand, "activity"
    const char* help;        // its line in zorv-batch --help
    const char* options;     // the options it reads, for the help
    const char* action;      // the main-window command, "mSeisActivity"
    int tag;                 // tells apart commands sharing a handler
    const char* dialogText;  // shown by the parameter dialog
    ChartKind chartKind;     // layout of its chart window
    AnalysisParameters parameters;
    SampleSelection selection;
    AnalysisFactory make;
};

// Every analysis, in the order of zorv-batch --help.
std::span<const AnalysisEntry> analysisRegistry();
// By zorv-batch name; null when none.
const AnalysisEntry* findAnalysis(std::string_view name);
// By main-window command and tag; null when none. Several commands may
// start one analysis with other preselected parameters.
const AnalysisEntry* findAnalysisByAction(std::string_view action, int tag);

// Every main-window command that starts an analysis.
struct AnalysisAction {
    const char* action;
    int tag;
    const AnalysisEntry* entry;
};
std::vector<AnalysisAction> analysisActions();

}  // namespace zorv

#pragma once
// The analysis commands of the main window. Each command is split into
// "ask" (its parameter dialog, giving a request record) and "run" (the
// frozen copy, the analysis under the progress window, the chart window),
// so that tests drive run() with records and the dialogs on their own. The
// analyses themselves come from zorvcore's registry, as in zorv-batch.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "chart/TfmGraph.h"
#include "registry/AnalysisRegistry.h"

namespace zorv {

class TfmAddSort;
class TfmBacktest;
class TfmHazardMap;
class TfmHazards;
class TfmTimeVariations;
class TfmChartsProp;
class TfmZoneActivity;
class TfmZones;
class ShellInterface;

class AnalysisCommands : public QObject {
    Q_OBJECT
public:
    explicit AnalysisCommands(ShellInterface& shell);
    ~AnalysisCommands() override;

    // Binds every registry analysis whose parameters this program asks for.
    void bind();

    // The parameter dialog of the entry; nothing when the user cancelled.
    // `tag` is the command's (several commands may start one analysis).
    std::optional<AnalysisRequest> ask(const AnalysisEntry& entry, int tag);
    // Runs the analysis on a frozen copy of the catalogue and opens its chart
    // window; a failure shows its message and leaves nothing behind (null).
    TfmGraph* run(const AnalysisEntry& entry, const AnalysisRequest& request);
    // The analysis without a window (the same object run() shows).
    std::shared_ptr<Database> compute(const AnalysisEntry& entry, const AnalysisRequest& request);
    // Opens a chart window of the kind on an analysis object.
    TfmGraph* openChart(std::shared_ptr<Database> analysis, ChartKind kind);
    // The time-variation charts of a run, in the order hazard, mean return
    // period, maximum magnitude, b-value, all in one result-window slot;
    // the last one opened.
    TfmGraph* openTimeVariationCharts(std::shared_ptr<Database> analysis, const TimeVariationsParameters& p);

    // The map windows of a hazard map, one per drawn column (mapChartColumns),
    // all in one result-window slot; the last one opened. A click on a
    // node opens the recurrence graph of its sample (openNodeHistogram).
    TfmGraph* openMapCharts(std::shared_ptr<Database> analysis);
    // The recurrence graph of the events of a node of the map window; a
    // sample too small for it shows the message and opens nothing (null).
    TfmGraph* openNodeHistogram(const TfmGraph& map, int node);

    // The chart window active in the frame, if any.
    TfmGraph* activeChart() const;
    ChartOptions chartOptions() const;

    TfmAddSort& scaleDialog();
    TfmHazards& hazardDialog();
    TfmTimeVariations& timeVariationsDialog();
    TfmBacktest& backtestDialog();
    TfmHazardMap& hazardMapDialog();
    TfmZones& zonesDialog();
    TfmZoneActivity& zoneActivityDialog();
    TfmChartsProp& chartPropertiesDialog();

private:
    void execute(const char* action, int tag);
    void bindChartCommands();
    TfmGraph* openChart(std::shared_ptr<Database> analysis, ChartKind kind, int slot,
                        const std::function<void(TfmGraph&)>& build);

    ShellInterface& shell_;
    TfmAddSort* scale_ = nullptr;
    TfmZones* zones_ = nullptr;
    TfmZoneActivity* zoneActivity_ = nullptr;
    TfmHazards* hazards_ = nullptr;
    TfmTimeVariations* timeVariations_ = nullptr;
    bool parametricUpperLimit_ = true;  // the option of the last parametric run
    int timeVariationActivity_ = 3;     // event-count series of the charts
    TfmChartsProp* chartProperties_ = nullptr;
    TfmBacktest* backtestDialog_ = nullptr;
    BacktestParameters backtest_;  // the last run's, offered again
    TfmHazardMap* hazardMapDialog_ = nullptr;
    std::optional<HazardMapParameters> hazardMap_;  // the last run's, offered again
    // "Przedział ufności" of the last accepted run of each hazard dialog,
    // offered again for the rest of the session but not kept in the
    // settings: a slow option does not come back unasked after a restart.
    BootstrapOptions hazardBootstrap_;
    BootstrapOptions timeVariationsBootstrap_;
};

}  // namespace zorv

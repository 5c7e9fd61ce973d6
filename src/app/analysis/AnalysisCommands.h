#pragma once
// The analysis commands of the main window. Each command is split into
// "ask" (its parameter dialog, giving a request record) and "run" (the
// frozen copy, the analysis under the progress window, the chart window),
// so that tests drive run() with records and the dialogs on their own. The
// analyses themselves come from zorvcore's registry, as in zorv-batch.

#include <QObject>
#include <memory>
#include <optional>

#include "chart/TfmGraph.h"
#include "registry/AnalysisRegistry.h"

namespace zorv {

class TfmAddSort;
class TfmChartsProp;
class TfmZoneActivity;
class TfmZones;
class TfmZorv;

class AnalysisCommands : public QObject {
    Q_OBJECT
public:
    explicit AnalysisCommands(TfmZorv& shell);
    ~AnalysisCommands() override;

    // Binds every registry analysis whose parameters this program asks for.
    void bind();

    // The parameter dialog of the entry; nothing when the user cancelled.
    std::optional<AnalysisRequest> ask(const AnalysisEntry& entry);
    // Runs the analysis on a frozen copy of the catalogue and opens its chart
    // window; a failure shows its message and leaves nothing behind (null).
    TfmGraph* run(const AnalysisEntry& entry, const AnalysisRequest& request);
    // The analysis without a window (the same object run() shows).
    std::shared_ptr<Database> compute(const AnalysisEntry& entry, const AnalysisRequest& request);
    // Opens a chart window of the kind on an analysis object.
    TfmGraph* openChart(std::shared_ptr<Database> analysis, int kind);

    // The chart window active in the frame, if any.
    TfmGraph* activeChart() const;
    ChartOptions chartOptions() const;

    TfmAddSort& scaleDialog();
    TfmZones& zonesDialog();
    TfmZoneActivity& zoneActivityDialog();
    TfmChartsProp& chartPropertiesDialog();

private:
    void execute(const char* action, int tag);
    void bindChartCommands();

    TfmZorv& shell_;
    TfmAddSort* scale_ = nullptr;
    TfmZones* zones_ = nullptr;
    TfmZoneActivity* zoneActivity_ = nullptr;
    TfmChartsProp* chartProperties_ = nullptr;
};

}  // namespace zorv

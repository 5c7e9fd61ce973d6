#pragma once
// The chart window (TfmGraph): an analysis chart as a child window of the
// main window. The analysis is shared with the other windows of its
// result-window slot; the last window to close frees it.

#include "charts/AnalysisChart.h"
#include "services/ChildWindow.h"

namespace zorv {

class WindowSlots;

class TfmGraph : public AnalysisChart, public ChildWindow {
    Q_OBJECT
public:
    // `windowSlots` and `slot` count this window in its result-window slot (the
    // slots outlive every chart window).
    TfmGraph(std::shared_ptr<Database> analysis, const AnalysisSettings& settings, ChartKind kind,
             const QString& filterDescription, WindowSlots* windowSlots, int slot, QWidget* parent = nullptr);
    ~TfmGraph() override;

    ChildKind childKind() const override { return ChildKind::Chart; }
    int slot() const { return slot_; }

    // "400 x 300 pikseli" (1), "500 x 400" (2), "600 x 500" (3), the chart
    // settings (4): the window is restored and given that client size; any
    // other tag only restores it.
    void setSizePreset(int tag, const ChartOptions& options);

signals:
    void closing(TfmGraph* window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WindowSlots* slots_;
    int slot_;
};

}  // namespace zorv

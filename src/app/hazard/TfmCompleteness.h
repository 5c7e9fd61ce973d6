#pragma once
// The completeness-magnitude dialog ("Magnituda kompletności"): the
// estimates of Mc by every method with their bootstrap spread for the
// current catalogue sample, the frequency–magnitude distribution (events per
// bin and cumulated from the top, log scale) with each estimate drawn as a
// vertical line, and "Przyjmij", which takes the chosen estimate.

#include <QDialog>
#include <functional>
#include <optional>

#include "base/Progress.h"
#include "catalogue/AnalysisSettings.h"
#include "hazard/Completeness.h"
#include "table/Table.h"

class QCustomPlot;
class QPushButton;
class QTableWidget;

namespace zorv {

class UserDialogs;

class TfmCompleteness : public QDialog {
    Q_OBJECT
public:
    TfmCompleteness(const CompletenessResult& result, const Locale& locale, QWidget* parent = nullptr);

    // The estimate of the selected row once "Przyjmij" was pressed.
    std::optional<double> takenMc() const { return taken_; }
    QTableWidget* estimates() const { return table_; }
    QCustomPlot* chart() const { return chart_; }
    QPushButton* takeButton() const { return take_; }

private:
    void buildChart();
    void selectionChanged();

    CompletenessResult result_;
    Locale locale_;
    std::optional<double> taken_;
    QTableWidget* table_;
    QCustomPlot* chart_;
    QPushButton* take_;
    QPushButton* cancel_;
};

// What the "Oszacuj" button beside MMin does: estimates Mc on the magnitudes
// of `catalogue` as presented now, shows the dialog through `exec` and
// returns the estimate taken; nothing when the dialog was cancelled, no
// catalogue is open (an information) or the estimate failed (an error).
std::optional<double> estimateCompletenessInteractively(const AnalysisSettings& settings, Table* catalogue,
                                                        UserDialogs& dialogs, Progress* progress,
                                                        const std::function<int(QDialog&)>& exec,
                                                        QWidget* parent);

}  // namespace zorv

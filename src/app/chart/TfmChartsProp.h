#pragma once
// The chart properties dialog (TfmChartsProp, "Własności wykresu"): six
// pages of the active chart's style, edited in place. "Zastosuj..." writes
// the pages to the chart and keeps the dialog open, "OK" writes them and
// closes, "Anuluj" closes and leaves the chart as the last apply left it.

#include <QDialog>
#include <QPointer>
#include <vector>

#include "chart/StyleButtons.h"

class QPushButton;
class QTabWidget;

namespace zorv {

class ChartPropPage;
class TfmGraph;

class TfmChartsProp : public QDialog {
    Q_OBJECT
public:
    explicit TfmChartsProp(QWidget* parent = nullptr);

    // Fills every page from the chart; the chart is the one edited from now on.
    void load(TfmGraph& chart);
    // Page by its 1-based number ("Nagłówki wykresu" 1 ... "Osie" 6); any
    // other number gives the first.
    void showPage(int page);
    void apply();

    TfmGraph* chart() const { return chart_; }
    // Colour and font choosers of the pages' buttons.
    StylePickers& pickers() { return pickers_; }
    QTabWidget* pages() const { return tabs_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    StylePickers pickers_;  // before the pages, whose buttons refer to it
    QTabWidget* tabs_;
    std::vector<ChartPropPage*> pages_;
    QPushButton* apply_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPointer<TfmGraph> chart_;
};

}  // namespace zorv

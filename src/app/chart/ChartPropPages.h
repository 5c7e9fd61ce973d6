#pragma once
// The pages of the chart properties dialog. Each page shows what the chart
// has at load() and writes its controls back at apply(); nothing reaches
// the chart in between. Controls carry object names so that tests find them.

#include <QWidget>

namespace zorv {

class TfmGraph;
struct StylePickers;

class ChartPropPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void load(const TfmGraph& chart) = 0;
    virtual void apply(TfmGraph& chart) = 0;
};

// "Nagłówki wykresu", "Nagłówki osi", "Kolory", "Legenda", "Serie", "Osie".
ChartPropPage* makeTitlesPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeAxisTitlesPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeColoursPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeLegendPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeSeriesPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeAxesPage(const StylePickers& pickers, QWidget* parent);

}  // namespace zorv

#pragma once
// The pages of the chart properties dialog. Each page shows what the chart
// has at load() and writes its controls back at apply(); nothing reaches
// the chart in between. Controls carry object names so that tests find them.

#include <QString>
#include <QWidget>
#include <initializer_list>

class QBoxLayout;
class QGroupBox;

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

// One row of a page's form: a labelled control, or a control across the row
// (an empty label).
struct FormRow {
    QString label;
    QWidget* control;
};
// Adds to the page's column `box` a group box holding the rows as a form:
// `group` when given (a box the page keeps), else a new one captioned
// `caption` under `parent`.
QGroupBox* addFormGroup(QBoxLayout* box, QWidget* parent, const QString& caption,
                        std::initializer_list<FormRow> rows, QGroupBox* group = nullptr);

// "Nagłówki wykresu", "Nagłówki osi", "Kolory", "Legenda", "Serie", "Osie".
ChartPropPage* makeTitlesPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeAxisTitlesPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeColoursPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeLegendPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeSeriesPage(const StylePickers& pickers, QWidget* parent);
ChartPropPage* makeAxesPage(const StylePickers& pickers, QWidget* parent);

}  // namespace zorv

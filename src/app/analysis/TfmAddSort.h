#pragma once
// The time-scale dialog of the activity and energy series (TfmAddSort): the
// chart's name, the period kind ("Kwartały", "Miesiące", "Lata"), and for
// the energy traces the panel of their two thresholds, for the b-value series
// the check box of its statistics (standard errors and Utsu tests).

#include <QDialog>

#include "analysis/Periods.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zorv {

class TfmAddSort : public QDialog {
    Q_OBJECT
public:
    explicit TfmAddSort(QWidget* parent = nullptr);

    // Shows the chart's name and, for the energy traces, the threshold panel;
    // for the b-value series the statistics check box (it keeps its state).
    void prepare(const QString& dialogText, bool thresholds, bool bStatistics = false);
    // The caption of the b-value analysis, which shares the dialog.
    static QString bValueCaption();
    // The chosen kind (remembered between uses: the list keeps its item).
    PeriodKind periodKind() const;
    void setPeriodKind(PeriodKind kind);
    double traceThreshold() const;      // [J]
    double dischargeThreshold() const;  // [J]
    // Ticked and shown.
    bool bStatistics() const;
    // The Aki–Utsu b beside the truncated one (shown with the statistics box).
    bool bAki() const;
    QCheckBox* bAkiBox() const { return bAki_; }

    QComboBox* scale() const { return scale_; }
    QGroupBox* thresholdPanel() const { return panel_; }
    QDoubleSpinBox* traceEdit() const { return trace_; }
    QDoubleSpinBox* dischargeEdit() const { return discharge_; }
    QLabel* chartLabel() const { return chart_; }
    QCheckBox* bStatisticsBox() const { return bStatistics_; }
    QPushButton* continueButton() const { return continue_; }

signals:
    void helpRequested(const QString& page);

private:
    QLabel* chart_;
    QComboBox* scale_;
    QGroupBox* panel_;
    QDoubleSpinBox* trace_;
    QDoubleSpinBox* discharge_;
    QCheckBox* bStatistics_;
    QCheckBox* bAki_;
    QPushButton* continue_;
};

}  // namespace zorv

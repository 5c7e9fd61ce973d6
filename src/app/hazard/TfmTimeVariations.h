#pragma once
// The parameter dialog of the time variations of the hazard
// (TfmTimeVariations): the sliding window, the time unit, the four line
// charts with their magnitudes and period, the chart of the completeness
// magnitude with its method, the event markers and the
// variable upper limit of integration.

#include <QDialog>

#include "hazard/TimeVariationsParameters.h"
#include "text/Locale.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace zorv {

class BootstrapBox;

class TfmTimeVariations : public QDialog {
    Q_OBJECT
public:
    explicit TfmTimeVariations(QWidget* parent = nullptr);

    void prepare(const TimeVariationsParameters& initial, double a, double b, const Locale& locale);
    TimeVariationsParameters parameters() const;
    // The activity code of the event-count boxes: 0 above the threshold,
    // 1 all events, 2 both, 3 none.
    int activityCode() const;

    QSpinBox* windowWidth() const { return width_; }
    QSpinBox* windowStep() const { return step_; }
    QSpinBox* minEvents() const { return minEvents_; }
    QComboBox* timeUnit() const { return unit_; }
    QCheckBox* bValueChart() const { return bValue_; }
    QCheckBox* maximumMagnitudeChart() const { return mMax_; }
    QCheckBox* returnPeriodChart() const { return returnPeriod_; }
    QCheckBox* hazardChart() const { return hazard_; }
    QCheckBox* bValueMarkers() const { return bMarkers_; }
    QCheckBox* maximumMagnitudeMarkers() const { return mMaxMarkers_; }
    QDoubleSpinBox* returnMagnitude() const { return returnMagnitude_; }
    QDoubleSpinBox* hazardMagnitude() const { return hazardMagnitude_; }
    QDoubleSpinBox* hazardPeriod() const { return period_; }
    QLabel* returnEnergy() const { return returnEnergy_; }
    QLabel* hazardEnergy() const { return hazardEnergy_; }
    QLabel* periodUnit() const { return periodUnit_; }
    QLabel* returnUnit() const { return returnUnit_; }
    QCheckBox* aboveThresholdCount() const { return aboveCount_; }
    QCheckBox* totalCount() const { return totalCount_; }
    QCheckBox* variableUpperLimit() const { return variable_; }
    BootstrapBox* bootstrap() const { return bootstrap_; }
    // "Magnituda kompletności Mc" and its method, in the order of
    // allMcMethods().
    QCheckBox* completenessChart() const { return completeness_; }
    QComboBox* completenessMethod() const { return mcMethod_; }
    QPushButton* continueButton() const { return continue_; }

signals:
    void helpRequested(const QString& page);

private:
    void update();

    double a_ = 1.96, b_ = 1.15;
    Locale locale_;
    QSpinBox *width_, *step_, *minEvents_;
    QComboBox* unit_;
    QCheckBox *bValue_, *mMax_, *returnPeriod_, *hazard_, *bMarkers_, *mMaxMarkers_;
    QDoubleSpinBox *returnMagnitude_, *hazardMagnitude_, *period_;
    QLabel *returnEnergy_, *hazardEnergy_, *periodUnit_, *returnUnit_;
    QCheckBox *aboveCount_, *totalCount_, *variable_;
    BootstrapBox* bootstrap_;
    QCheckBox* completeness_;
    QComboBox* mcMethod_;
    double completenessBin_ = 0.1;  // taken over from the prepared parameters [magnitude]
    QPushButton* continue_;
};

}  // namespace zorv

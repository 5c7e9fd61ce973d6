#pragma once
// The parameter dialog of the hazard analyses (TfmHazards), in its
// nonparametric and parametric modes: the range of the table's variable,
// the magnitudes or periods D to tabulate, the density functions, the time
// unit, the automatic range, the smoothing-factor options (nonparametric
// only) and the variable upper limit of integration. The rules that need no
// window are zorvcore's (HazardParameters); this binds widgets to them.

#include <QDialog>
#include <array>

#include "hazard/HazardParameters.h"
#include "hazard/ParametricTables.h"
#include "registry/ChartKind.h"
#include "text/Locale.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zorv {

class BootstrapBox;

class TfmHazards : public QDialog {
    Q_OBJECT
public:
    explicit TfmHazards(QWidget* parent = nullptr);

    // Nonparametric mode for the record's kind and its defaults.
    void prepareNonParametric(const HazardParameters& initial, double a, double b, const Locale& locale);
    // Parametric mode for one of the parametric chart kinds.
    void prepareParametric(ChartKind kind, bool variableUpperLimit, double a, double b, const Locale& locale);

    // What the dialog holds now, as the command receives it.
    HazardParameters nonParametric() const;
    ParametricRequest parametric() const;
    bool parametricMode() const { return parametric_; }
    bool continueEnabled() const;

    // One row of a magnitude or period: check box, value, read-out.
    struct ValueRow {
        QCheckBox* check;
        QDoubleSpinBox* value;
        QLabel* readout;  // energy of a magnitude, unit of a period
    };
    const std::array<ValueRow, 4>& magnitudeRows() const { return magnitudes_; }
    const std::array<ValueRow, 4>& periodRows() const { return periods_; }
    QGroupBox* timeRange() const { return timeRange_; }
    QGroupBox* magnitudeRange() const { return magnitudeRange_; }
    QGroupBox* hRange() const { return hRange_; }
    QGroupBox* magnitudeGroup() const { return magnitudeGroup_; }
    QGroupBox* periodGroup() const { return periodGroup_; }
    QGroupBox* functionGroup() const { return functionGroup_; }
    QGroupBox* smoothingGroup() const { return smoothing_; }
    QDoubleSpinBox* timeStart() const { return timeStart_; }
    QDoubleSpinBox* timeEnd() const { return timeEnd_; }
    QDoubleSpinBox* timeStep() const { return timeStep_; }
    QDoubleSpinBox* magnitudeStart() const { return magStart_; }
    QDoubleSpinBox* magnitudeEnd() const { return magEnd_; }
    QDoubleSpinBox* magnitudeStep() const { return magStep_; }
    QLabel* magnitudeStartEnergy() const { return magStartEnergy_; }
    QLabel* magnitudeEndEnergy() const { return magEndEnergy_; }
    QDoubleSpinBox* hStart() const { return hStart_; }
    QDoubleSpinBox* hEnd() const { return hEnd_; }
    QDoubleSpinBox* hStep() const { return hStep_; }
    QCheckBox* function(int i) const { return functions_[static_cast<std::size_t>(i)]; }
    QComboBox* timeUnit() const { return unit_; }
    QCheckBox* automaticRange() const { return automatic_; }
    QCheckBox* search() const { return search_; }
    QDoubleSpinBox* alternativeH() const { return alternativeH_; }
    QCheckBox* variableUpperLimit() const { return variable_; }
    BootstrapBox* bootstrap() const { return bootstrap_; }
    QPushButton* continueButton() const { return continue_; }
    QLabel* heading() const { return heading_; }
    QLabel* kindTitle() const { return kindTitle_; }

signals:
    void helpRequested(const QString& page);

private:
    // The layout of the panels by the nonparametric kind they look like.
    void showPanels(HazardKind panels);
    void updateEnabled();
    void updateReadouts();
    std::vector<SelectableValue> rowsOf(const std::array<ValueRow, 4>& rows) const;
    std::uint8_t functionFlags() const;
    TimeUnit unit() const;

    bool parametric_ = false;
    ChartKind parametricKind_ = ChartKind::ParametricHazard;
    HazardKind kind_ = HazardKind::Hazard;
    bool touched_ = false;
    double a_ = 1.96, b_ = 1.15;
    Locale locale_;

    QLabel* heading_;
    QLabel* kindTitle_;
    QGroupBox* timeRange_;
    QDoubleSpinBox *timeStart_, *timeEnd_, *timeStep_;
    QGroupBox* magnitudeRange_;
    QDoubleSpinBox *magStart_, *magEnd_, *magStep_;
    QLabel *magStartEnergy_, *magEndEnergy_;
    QGroupBox* hRange_;
    QDoubleSpinBox *hStart_, *hEnd_, *hStep_;
    QGroupBox* magnitudeGroup_;
    std::array<ValueRow, 4> magnitudes_{};
    QGroupBox* periodGroup_;
    std::array<ValueRow, 4> periods_{};
    QGroupBox* functionGroup_;
    std::array<QCheckBox*, 3> functions_{};
    QComboBox* unit_;
    QCheckBox* automatic_;
    QGroupBox* smoothing_;
    QCheckBox* search_;
    QDoubleSpinBox* alternativeH_;
    QCheckBox* variable_;
    BootstrapBox* bootstrap_;
    QPushButton* continue_;
};

}  // namespace zorv

#pragma once
// The parameter dialog of the hazard map ("Mapa zagrożenia"): the
// quantities, the grid cell, the node samples (the N nearest events within
// Rmax, or every event within R) with their least size, the threshold and
// the Mc method, the hazard's m and D, the two periods of a change map and
// the bootstrap bands. "Kontynuuj" is off while HazardMapProblem refuses the
// values; the reason shows under the fields.

#include <QDialog>

#include "spatial/HazardMapParameters.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace zorv {

class BootstrapBox;

class TfmHazardMap : public QDialog {
    Q_OBJECT
public:
    explicit TfmHazardMap(QWidget* parent = nullptr);

    // `first` and `last` (day numbers) are the dates offered for the two
    // periods when `initial` has none: the halves of the catalogue's span.
    void prepare(const HazardMapParameters& initial, std::int32_t first, std::int32_t last);
    // The parameters of the fields; the location expression is left empty.
    HazardMapParameters parameters() const;

    QListWidget* quantities() const { return quantities_; }
    QCheckBox* automaticCell() const { return automaticCell_; }
    QDoubleSpinBox* cell() const { return cell_; }
    QComboBox* sampling() const { return sampling_; }
    QSpinBox* nearest() const { return nearest_; }
    QDoubleSpinBox* radius() const { return radius_; }
    QDoubleSpinBox* maxRadius() const { return maxRadius_; }
    QSpinBox* minEvents() const { return minEvents_; }
    QComboBox* threshold() const { return threshold_; }
    QComboBox* mcMethod() const { return mcMethod_; }
    QDoubleSpinBox* magnitude() const { return magnitude_; }
    QDoubleSpinBox* duration() const { return duration_; }
    QComboBox* timeUnit() const { return unit_; }
    QCheckBox* changeMap() const { return change_; }
    QDateEdit* periodDate(int period, bool last) const { return dates_[period * 2 + (last ? 1 : 0)]; }
    BootstrapBox* bootstrap() const { return bootstrap_; }
    QLabel* problem() const { return problem_; }
    QPushButton* continueButton() const { return continue_; }

signals:
    void helpRequested(const QString& page);

private:
    void update();

    QListWidget* quantities_;
    QCheckBox* automaticCell_;
    QDoubleSpinBox* cell_;
    QComboBox* sampling_;
    QSpinBox* nearest_;
    QDoubleSpinBox* radius_;
    QDoubleSpinBox* maxRadius_;
    QSpinBox* minEvents_;
    QComboBox* threshold_;
    QComboBox* mcMethod_;
    QDoubleSpinBox* magnitude_;
    QDoubleSpinBox* duration_;
    QComboBox* unit_;
    QCheckBox* change_;
    QDateEdit* dates_[4];
    BootstrapBox* bootstrap_;
    QLabel* problem_;
    QPushButton* continue_ = nullptr;
};

}  // namespace zorv

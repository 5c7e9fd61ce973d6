#pragma once
// The parameter dialog of the verification of past hazard forecasts: the
// forecast magnitude m, the horizon D [days] and the past window [days, 0
// for the whole past]. "Kontynuuj" is off while BacktestProblem refuses the
// values; the reason shows under the fields.

#include <QDialog>

#include "hazard/Backtest.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace zorv {

class TfmBacktest : public QDialog {
    Q_OBJECT
public:
    explicit TfmBacktest(QWidget* parent = nullptr);

    void prepare(const BacktestParameters& initial);
    BacktestParameters parameters() const;

    QDoubleSpinBox* magnitude() const { return magnitude_; }
    QSpinBox* horizon() const { return horizon_; }
    QSpinBox* window() const { return window_; }
    QLabel* problem() const { return problem_; }
    QPushButton* continueButton() const { return continue_; }

private:
    void update();

    QDoubleSpinBox* magnitude_;
    QSpinBox* horizon_;
    QSpinBox* window_;
    QLabel* problem_;
    QPushButton* continue_;
};

}  // namespace zorv

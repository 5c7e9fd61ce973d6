#include "hazard/TfmBacktest.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zorv {

TfmBacktest::TfmBacktest(QWidget* parent)
    : QDialog(parent),
      magnitude_(new QDoubleSpinBox(this)),
      horizon_(new QSpinBox(this)),
      window_(new QSpinBox(this)),
      problem_(new QLabel(this)),
      continue_(nullptr) {
    setObjectName(QStringLiteral("TfmBacktest"));
    setWindowTitle(QStringLiteral("Weryfikacja prognoz hazardu"));
    magnitude_->setRange(-5.0, 10.0);
    magnitude_->setDecimals(2);
    magnitude_->setSingleStep(0.1);
    horizon_->setRange(1, 3650);
    horizon_->setSuffix(QStringLiteral(" dni"));
    window_->setRange(0, 36500);
    window_->setSuffix(QStringLiteral(" dni"));
    window_->setSpecialValueText(QStringLiteral("cała przeszłość"));
    problem_->setStyleSheet(QStringLiteral("color: #a00000"));
    problem_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Magnituda prognozowana m:"), magnitude_);
    form->addRow(QStringLiteral("Horyzont i krok prognozy D:"), horizon_);
    form->addRow(QStringLiteral("Okno przeszłości:"), window_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    continue_ = buttons->button(QDialogButtonBox::Ok);
    continue_->setText(QStringLiteral("Kontynuuj"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    auto* heading =
        new QLabel(QStringLiteral("Prawdopodobieństwo zjawiska o magnitudzie co najmniej m w ciągu D "
                                  "dni, prognozowane w przeszłości co D dni z wcześniejszych zjawisk"),
                   this);
    heading->setWordWrap(true);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    for (QSpinBox* s : {horizon_, window_}) connect(s, &QSpinBox::valueChanged, this, [this] { update(); });
    prepare(BacktestParameters{});
}

void TfmBacktest::prepare(const BacktestParameters& initial) {
    magnitude_->setValue(initial.magnitude);
    horizon_->setValue(initial.horizonDays);
    window_->setValue(initial.windowDays);
    update();
}

BacktestParameters TfmBacktest::parameters() const {
    BacktestParameters p;
    p.magnitude = magnitude_->value();
    p.horizonDays = horizon_->value();
    p.windowDays = window_->value();
    return p;
}

void TfmBacktest::update() {
    const auto problem = BacktestProblem(parameters());
    problem_->setText(problem ? QString::fromStdString(*problem) : QString());
    problem_->setVisible(problem.has_value());
    continue_->setEnabled(!problem);
}

}  // namespace zorv

#include "hazard/TfmTimeVariations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "hazard/BootstrapBox.h"
#include "widgets/DialogButtons.h"

namespace zorv {

namespace {

QSpinBox* whole(QWidget* parent, int min, int max, int step, int value) {
    auto* s = new QSpinBox(parent);
    s->setRange(min, max);
    s->setSingleStep(step);
    s->setValue(value);
    return s;
}

QDoubleSpinBox* magnitude(QWidget* parent) {
    auto* s = new QDoubleSpinBox(parent);
    s->setRange(0.001, 10.0);
    s->setSingleStep(0.1);
    s->setDecimals(3);
    s->setValue(3.0);
    return s;
}

}  // namespace

TfmTimeVariations::TfmTimeVariations(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmTimeVariations"));
    setWindowTitle(QString::fromUtf8(kTimeVariationsCaption));
    auto* window = new QGroupBox(QStringLiteral("Parametry okna"), this);
    width_ = whole(window, 1, 10000, 25, 300);
    step_ = whole(window, 1, 500, 25, 25);
    minEvents_ = whole(window, 30, 1000, 30, 30);
    auto* wf = new QFormLayout(window);
    wf->addRow(QStringLiteral("Szerokość okna"), width_);
    wf->addRow(QStringLiteral("Krok przemieszczania"), step_);
    wf->addRow(QStringLiteral("Minimalna ilość zjawisk"), minEvents_);
    unit_ = new QComboBox(this);
    unit_->addItems({QStringLiteral("Kwartały"), QStringLiteral("Miesiące")});

    auto* charts = new QGroupBox(QStringLiteral("Wykresy liniowe"), this);
    bValue_ = new QCheckBox(QStringLiteral("Współczynnik b relacji Gutenberga - Richtera"), charts);
    bMarkers_ = new QCheckBox(QStringLiteral("Znaczniki zjawisk"), charts);
    mMax_ = new QCheckBox(QStringLiteral("Estymator maksymalnej magnitudy"), charts);
    mMaxMarkers_ = new QCheckBox(QStringLiteral("Znaczniki zjawisk"), charts);
    returnPeriod_ = new QCheckBox(QStringLiteral("Średni okres powrotu"), charts);
    returnMagnitude_ = magnitude(charts);
    returnEnergy_ = new QLabel(charts);
    returnUnit_ = new QLabel(charts);
    hazard_ = new QCheckBox(QStringLiteral("Hazard sejsmiczny"), charts);
    hazardMagnitude_ = magnitude(charts);
    hazardEnergy_ = new QLabel(charts);
    period_ = new QDoubleSpinBox(charts);
    period_->setRange(1.0, 100.0);
    period_->setDecimals(1);
    period_->setValue(1.0);
    periodUnit_ = new QLabel(charts);
    // The event counts are not drawn: their boxes stay hidden and unticked.
    aboveCount_ = new QCheckBox(QStringLiteral("Liczba zjawisk powyżej progu kompletności katalogu"), charts);
    totalCount_ = new QCheckBox(QStringLiteral("Całkowita liczba zjawisk"), charts);
    aboveCount_->hide();
    totalCount_->hide();

    auto* g = new QGridLayout(charts);
    g->addWidget(bValue_, 0, 0, 1, 2);
    g->addWidget(bMarkers_, 0, 2);
    g->addWidget(mMax_, 1, 0, 1, 2);
    g->addWidget(mMaxMarkers_, 1, 2);
    g->addWidget(returnPeriod_, 2, 0, 1, 2);
    g->addWidget(returnUnit_, 2, 2);
    g->addWidget(new QLabel(QStringLiteral("Średni okres powrotu zjawiska o magnitudzie"), charts), 3, 0);
    g->addWidget(returnMagnitude_, 3, 1);
    g->addWidget(returnEnergy_, 3, 2);
    g->addWidget(hazard_, 4, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Prawdopodobieństwo przekroczenia magnitudy"), charts), 5, 0);
    g->addWidget(hazardMagnitude_, 5, 1);
    g->addWidget(hazardEnergy_, 5, 2);
    g->addWidget(new QLabel(QStringLiteral("w okresie"), charts), 6, 0);
    g->addWidget(period_, 6, 1);
    g->addWidget(periodUnit_, 6, 2);
    completeness_ = new QCheckBox(QStringLiteral("Magnituda kompletności Mc"), charts);
    mcMethod_ = new QComboBox(charts);
    for (McMethod m : allMcMethods()) mcMethod_->addItem(QString::fromUtf8(mcMethodCaption(m)));
    g->addWidget(completeness_, 7, 0);
    g->addWidget(mcMethod_, 7, 1, 1, 2);

    variable_ = new QCheckBox(QStringLiteral("Zmienna górna granica całkowania"), this);
    bootstrap_ = new BootstrapBox(this);
    continue_ = new QPushButton(QStringLiteral("Kontynuuj"), this);
    connect(continue_, &QPushButton::clicked, this, &QDialog::accept);
    for (QCheckBox* c : {bValue_, mMax_, returnPeriod_, hazard_, completeness_})
        connect(c, &QCheckBox::toggled, this, [this] { update(); });
    for (QDoubleSpinBox* s : {returnMagnitude_, hazardMagnitude_})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] { update(); });
    connect(unit_, &QComboBox::currentIndexChanged, this, [this] { update(); });

    auto* unitRow = new QFormLayout;
    unitRow->addRow(QStringLiteral("Podział skali czasu"), unit_);
    QHBoxLayout* buttons =
        dialogButtonRow(this, continue_, [this] { emit helpRequested(QStringLiteral("zmiennosc.html")); });
    auto* box = new QVBoxLayout(this);
    box->addWidget(window);
    box->addLayout(unitRow);
    box->addWidget(charts);
    box->addWidget(variable_);
    box->addWidget(bootstrap_);
    box->addLayout(buttons);
}

void TfmTimeVariations::prepare(const TimeVariationsParameters& p, double a, double b, const Locale& locale) {
    a_ = a, b_ = b, locale_ = locale;
    width_->setValue(p.windowWidth);
    step_->setValue(p.windowStep);
    minEvents_->setValue(p.minEvents);
    unit_->setCurrentIndex(p.unit == TimeUnit::Months ? 1 : 0);
    bValue_->setChecked(p.bValueChart);
    mMax_->setChecked(p.maximumMagnitudeChart);
    returnPeriod_->setChecked(p.returnPeriodChart);
    hazard_->setChecked(p.hazardChart);
    bMarkers_->setChecked(p.bValueMarkers);
    mMaxMarkers_->setChecked(p.maximumMagnitudeMarkers);
    returnMagnitude_->setValue(p.returnMagnitude);
    hazardMagnitude_->setValue(p.hazardMagnitude);
    period_->setValue(p.hazardPeriod);
    aboveCount_->setChecked(false);
    totalCount_->setChecked(false);
    variable_->setChecked(p.variableUpperLimit);
    completeness_->setChecked(p.completeness.enabled);
    mcMethod_->setCurrentIndex(static_cast<int>(p.completeness.method));
    completenessBin_ = p.completeness.binWidth;
    bootstrap_->setOptions(p.bootstrap);
    update();
}

void TfmTimeVariations::update() {
    returnMagnitude_->setEnabled(returnPeriod_->isChecked());
    hazardMagnitude_->setEnabled(hazard_->isChecked());
    period_->setEnabled(hazard_->isChecked());
    mcMethod_->setEnabled(completeness_->isChecked());
    returnEnergy_->setText(
        QString::fromStdString(TimeVariationsEnergyText(returnMagnitude_->value(), a_, b_, locale_)));
    hazardEnergy_->setText(
        QString::fromStdString(TimeVariationsEnergyText(hazardMagnitude_->value(), a_, b_, locale_)));
    const TimeVariationsUnitLabels labels =
        UnitLabelsOf(unit_->currentIndex() == 1 ? TimeUnit::Months : TimeUnit::Quarters);
    periodUnit_->setText(QString::fromStdString(labels.period));
    returnUnit_->setText(QString::fromStdString(labels.returnPeriod));
    // Without a chart the run would show nothing.
    continue_->setEnabled(bValue_->isChecked() || mMax_->isChecked() || returnPeriod_->isChecked() ||
                          hazard_->isChecked() || completeness_->isChecked());
}

TimeVariationsParameters TfmTimeVariations::parameters() const {
    TimeVariationsParameters p;
    p.variableUpperLimit = variable_->isChecked();
    p.minEvents = minEvents_->value();
    p.windowWidth = width_->value();
    p.windowStep = step_->value();
    p.hazardPeriod = period_->value();
    p.hazardMagnitude = hazardMagnitude_->value();
    p.returnMagnitude = returnMagnitude_->value();
    p.unit = unit_->currentIndex() == 1 ? TimeUnit::Months : TimeUnit::Quarters;
    p.bValueChart = bValue_->isChecked();
    p.maximumMagnitudeChart = mMax_->isChecked();
    p.returnPeriodChart = returnPeriod_->isChecked();
    p.hazardChart = hazard_->isChecked();
    p.bValueMarkers = bMarkers_->isChecked();
    p.maximumMagnitudeMarkers = mMaxMarkers_->isChecked();
    p.bootstrap = bootstrap_->options();
    p.completeness.enabled = completeness_->isChecked();
    p.completeness.method = allMcMethods()[static_cast<std::size_t>(std::max(0, mcMethod_->currentIndex()))];
    p.completeness.binWidth = completenessBin_;
    return p;
}

int TfmTimeVariations::activityCode() const {
    const bool above = aboveCount_->isChecked(), total = totalCount_->isChecked();
    return above && total ? 2 : above ? 0 : total ? 1 : 3;
}

}  // namespace zorv

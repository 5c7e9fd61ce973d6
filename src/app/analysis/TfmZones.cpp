#include "analysis/TfmZones.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "widgets/DialogButtons.h"

namespace zorv {

TfmZones::TfmZones(QWidget* parent)
    : QDialog(parent),
      picker_(new ZonePicker(QStringLiteral("Dodaj strefę"), QStringLiteral("Usuń strefę"),
                             QStringLiteral("Usuń wszystkie"), this)),
      steps_(new QStackedWidget(this)),
      bStatistics_(new QCheckBox(QStringLiteral("Błędy standardowe b i test Utsu (kolumny sigma, P_UTSU)"))),
      bAki_(new QCheckBox(QStringLiteral("b Aki–Utsu z błędem Shi–Bolta obok (kolumny b_AKI, sigma_AKI)"))),
      next_(new QPushButton(QStringLiteral("Dalej >>"), this)) {
    setObjectName(QStringLiteral("TfmZones"));
    auto* zonesGroup = new QGroupBox(QStringLiteral("Lista stref uwzględnionych w wykresie"), steps_);
    auto* zonesBox = new QVBoxLayout(zonesGroup);
    zonesBox->addWidget(picker_);
    zonesBox->addWidget(new QLabel(
        QStringLiteral("Przeciągnij interesujące Cię strefy z drzewa na listę stref uwzględnionych."),
        zonesGroup));
    auto* chartGroup = new QGroupBox(QStringLiteral("Własności wykresu"), steps_);
    bStatistics_->setObjectName(QStringLiteral("BStatistics"));
    bAki_->setObjectName(QStringLiteral("BAki"));
    auto* chartBox = new QVBoxLayout(chartGroup);
    chartBox->addWidget(bStatistics_);
    chartBox->addWidget(bAki_);
    chartBox->addStretch(1);
    steps_->addWidget(zonesGroup);
    steps_->addWidget(chartGroup);

    connect(next_, &QPushButton::clicked, this, &TfmZones::nextClicked);
    connect(picker_, &ZonePicker::zonesChanged, this, &TfmZones::updateNext);

    QHBoxLayout* buttons =
        dialogButtonRow(this, next_, [this] { emit helpRequested(QStringLiteral("index.html")); });
    auto* box = new QVBoxLayout(this);
    box->addWidget(steps_, 1);
    box->addLayout(buttons);
    resize(560, 420);
    updateNext();
}

void TfmZones::prepare(const ZoneTree& zones, const QString& rootCaption, const QString& caption,
                       bool bStatistics) {
    setWindowTitle(caption);
    bStatistics_->setVisible(bStatistics);
    bAki_->setVisible(bStatistics);
    picker_->setZones(zones, rootCaption);
    steps_->setCurrentIndex(0);
    next_->setText(QStringLiteral("Dalej >>"));
    updateNext();
}

int TfmZones::step() const { return steps_->currentIndex() + 1; }

bool TfmZones::bStatistics() const { return !bStatistics_->isHidden() && bStatistics_->isChecked(); }
bool TfmZones::bAki() const { return !bAki_->isHidden() && bAki_->isChecked(); }

void TfmZones::updateNext() { next_->setEnabled(picker_->list()->count() > 0); }

void TfmZones::nextClicked() {
    if (steps_->currentIndex() == 0) {
        steps_->setCurrentIndex(1);
        next_->setText(QStringLiteral("Koniec"));
        return;
    }
    accept();
}

TfmZoneActivity::TfmZoneActivity(QWidget* parent)
    : QDialog(parent),
      picker_(new ZonePicker(QStringLiteral("Dodaj"), QStringLiteral("Usuń  "),
                             QStringLiteral("Usuń wszystkie strefy"), this)),
      classes_(new QCheckBox(QStringLiteral("Podziel energie na kategorie"), this)),
      continue_(new QPushButton(QStringLiteral("Kontynuuj"), this)) {
    setObjectName(QStringLiteral("TfmZoneActivity"));
    classes_->setObjectName(QStringLiteral("EnergyCategories"));
    connect(continue_, &QPushButton::clicked, this, &QDialog::accept);

    QHBoxLayout* buttons =
        dialogButtonRow(this, continue_, [this] { emit helpRequested(QStringLiteral("strefy.html")); });
    buttons->insertWidget(0, classes_);
    auto* box = new QVBoxLayout(this);
    box->addWidget(picker_, 1);
    box->addLayout(buttons);
    resize(560, 400);
}

void TfmZoneActivity::prepare(const ZoneTree& zones, const QString& rootCaption, const QString& caption,
                              bool energyClasses) {
    setWindowTitle(caption);
    picker_->setZones(zones, rootCaption);
    classes_->setChecked(energyClasses);
}

bool TfmZoneActivity::energyClasses() const { return classes_->isChecked(); }

}  // namespace zorv

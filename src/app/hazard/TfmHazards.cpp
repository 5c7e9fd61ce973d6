#include "hazard/TfmHazards.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "hazard/BootstrapBox.h"
#include "hazard/NonParametricTables.h"
#include "widgets/DialogButtons.h"

namespace zorv {

namespace {

QDoubleSpinBox* spin(QWidget* parent, double min, double max, double step, int decimals, double value) {
    auto* s = new QDoubleSpinBox(parent);
    s->setRange(min, max);
    s->setSingleStep(step);
    s->setDecimals(decimals);
    s->setValue(value);
    return s;
}

// The parametric kinds show the panels of their nonparametric twins.
HazardKind panelsOfParametric(ChartKind kind) {
    switch (kind) {
        case ChartKind::ParametricHazard: return HazardKind::Hazard;
        case ChartKind::ParametricHazardVsMagnitude: return HazardKind::HazardVsMagnitude;
        default: return HazardKind::MeanReturnPeriod;
    }
}

QString parametricTitle(ChartKind kind) {
    switch (kind) {
        case ChartKind::ParametricHazard: return QStringLiteral("Hazard sejsmiczny");
        case ChartKind::ParametricReturnPeriod: return QStringLiteral("Średni okres powrotu");
        case ChartKind::ParametricHazardVsMagnitude: return QStringLiteral("Hazard w funkcji magnitudy");
        case ChartKind::ParametricDensity:
            return QStringLiteral("Parametryczna funkcja gęstości rozkładu magnitudy");
        default: return QStringLiteral("Parametryczna dystrybuant funkcji gęstości rozkładu magnitudy");
    }
}

}  // namespace

TfmHazards::TfmHazards(QWidget* parent)
    : QDialog(parent),
      heading_(new QLabel(this)),
      kindTitle_(new QLabel(this)),
      timeRange_(new QGroupBox(QStringLiteral("Zakres czasu"), this)),
      magnitudeRange_(new QGroupBox(QStringLiteral("Zakres magnitud / energii"), this)),
      hRange_(new QGroupBox(QStringLiteral("Zakres wartości współczynnika h"), this)),
      magnitudeGroup_(new QGroupBox(this)),
      periodGroup_(new QGroupBox(this)),
      functionGroup_(new QGroupBox(this)),
      unit_(new QComboBox(this)),
      automatic_(new QCheckBox(QStringLiteral("Automatyczna skala pozioma"), this)),
      smoothing_(new QGroupBox(this)),
      search_(new QCheckBox(
          QStringLiteral("Użyj metody Silvermana poszukiwania optymalnego współczynnika gładkości"),
          smoothing_)),
      // Five decimals cannot show 1e-7: the least value shown is 1e-5.
      alternativeH_(spin(smoothing_, 1e-5, 1.0, 0.001, 5, 0.12)),
      variable_(new QCheckBox(QStringLiteral("Zmienna górna granica całkowania"), this)),
      bootstrap_(new BootstrapBox(this)),
      continue_(new QPushButton(QStringLiteral("Kontynuuj"), this)) {
    setObjectName(QStringLiteral("TfmHazards"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    kindTitle_->setFont(bold);

    // Time range of the hazard table: D from "Początek" to "Koniec".
    timeStart_ = spin(timeRange_, 0.0, 100.0, 1.0, 1, 1.0);
    timeEnd_ = spin(timeRange_, 0.0, 100.0, 1.0, 1, 12.0);
    timeStep_ = spin(timeRange_, 0.2, 1.0, 0.02, 2, 0.2);
    auto* tf = new QFormLayout(timeRange_);
    tf->addRow(QStringLiteral("Początek"), timeStart_);
    tf->addRow(QStringLiteral("Koniec"), timeEnd_);
    tf->addRow(QStringLiteral("Krok"), timeStep_);

    magStart_ = spin(magnitudeRange_, 0.0, 100.0, 1.0, 2, 1.0);
    magEnd_ = spin(magnitudeRange_, 0.0, 100.0, 1.0, 2, 5.0);
    magStep_ = spin(magnitudeRange_, 0.01, 1.0, 0.02, 2, 0.02);
    magStartEnergy_ = new QLabel(magnitudeRange_);
    magEndEnergy_ = new QLabel(magnitudeRange_);
    auto* mf = new QGridLayout(magnitudeRange_);
    mf->addWidget(new QLabel(QStringLiteral("Początek"), magnitudeRange_), 0, 0);
    mf->addWidget(magStart_, 0, 1);
    mf->addWidget(magStartEnergy_, 0, 2);
    mf->addWidget(new QLabel(QStringLiteral("Koniec"), magnitudeRange_), 1, 0);
    mf->addWidget(magEnd_, 1, 1);
    mf->addWidget(magEndEnergy_, 1, 2);
    mf->addWidget(new QLabel(QStringLiteral("Krok"), magnitudeRange_), 2, 0);
    mf->addWidget(magStep_, 2, 1);
    // The end never lies below the start.
    connect(magStart_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        magEnd_->setMinimum(v);
        updateReadouts();
    });
    connect(magEnd_, &QDoubleSpinBox::valueChanged, this, [this] { updateReadouts(); });

    hStart_ = spin(hRange_, 0.001, 0.999, 0.01, 4, 0.001);
    hEnd_ = spin(hRange_, 0.001, 0.999, 0.01, 4, 0.2);
    hStep_ = spin(hRange_, 0.001, 0.999, 0.001, 4, 0.01);
    auto* hf = new QFormLayout(hRange_);
    hf->addRow(QStringLiteral("Początek"), hStart_);
    hf->addRow(QStringLiteral("Koniec"), hEnd_);
    hf->addRow(QStringLiteral("Krok"), hStep_);

    auto* mg = new QGridLayout(magnitudeGroup_);
    mg->addWidget(
        new QLabel(QStringLiteral("Prawdopodobieństwo przekroczenia\nmagnitudy / energii:"), magnitudeGroup_),
        0, 0, 1, 3);
    auto* pg = new QGridLayout(periodGroup_);
    pg->addWidget(new QLabel(QStringLiteral("Prawdopodobieństwo przekroczenia magnitudy / energi w okresie D "
                                            "jednostek czasu:"),
                             periodGroup_),
                  0, 0, 1, 3);
    static constexpr double kPeriods[] = {1.0, 3.0, 5.0, 7.0};
    for (int i = 0; i < 4; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        magnitudes_[k] = {new QCheckBox(magnitudeGroup_), spin(magnitudeGroup_, 0.01, 10.0, 0.1, 2, 3.0),
                          new QLabel(magnitudeGroup_)};
        periods_[k] = {new QCheckBox(periodGroup_), spin(periodGroup_, 0.1, 100.0, 1.0, 1, kPeriods[k]),
                       new QLabel(periodGroup_)};
        for (auto [grid, row] : {std::pair{mg, &magnitudes_[k]}, std::pair{pg, &periods_[k]}}) {
            grid->addWidget(row->check, i + 1, 0);
            grid->addWidget(row->value, i + 1, 1);
            grid->addWidget(row->readout, i + 1, 2);
            connect(row->check, &QCheckBox::toggled, this, [this] { updateEnabled(); });
            connect(row->value, &QDoubleSpinBox::valueChanged, this, [this] { updateReadouts(); });
        }
    }

    auto* ff = new QVBoxLayout(functionGroup_);
    const char* names[] = {"Funkcja gęstości", "Funkcja gęstości (adaptacyjna)",
                           "Dystrybuanta (adaptacyjna)"};
    for (std::size_t i = 0; i < 3; ++i) {
        functions_[i] = new QCheckBox(QString::fromUtf8(names[i]), functionGroup_);
        ff->addWidget(functions_[i]);
        connect(functions_[i], &QCheckBox::toggled, this, [this] { updateEnabled(); });
    }

    unit_->addItems({QStringLiteral("Miesiące"), QStringLiteral("Kwartały")});
    connect(unit_, &QComboBox::currentIndexChanged, this, [this] { updateReadouts(); });
    connect(automatic_, &QCheckBox::toggled, this, [this] { updateEnabled(); });

    auto* sf = new QFormLayout(smoothing_);
    sf->addRow(search_);
    sf->addRow(QStringLiteral("Alternatywny współczynnik gładkości"), alternativeH_);
    // Clicking the options (not setting them) marks the parameters touched.
    connect(search_, &QCheckBox::clicked, this, [this] {
        touched_ = true;
        updateEnabled();
    });
    connect(alternativeH_, &QDoubleSpinBox::valueChanged, this, [this] { touched_ = true; });
    connect(variable_, &QCheckBox::clicked, this, [this] { touched_ = true; });

    connect(continue_, &QPushButton::clicked, this, &QDialog::accept);

    auto* unitRow = new QFormLayout;
    unitRow->addRow(QStringLiteral("Jednostka czasu (D)"), unit_);
    QHBoxLayout* buttons =
        dialogButtonRow(this, continue_, [this] { emit helpRequested(QStringLiteral("hazard.html")); });
    auto* left = new QVBoxLayout;
    left->addWidget(timeRange_);
    left->addWidget(magnitudeRange_);
    left->addWidget(hRange_);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(magnitudeGroup_);
    right->addWidget(periodGroup_);
    right->addWidget(functionGroup_);
    right->addStretch();
    auto* panels = new QHBoxLayout;
    panels->addLayout(left);
    panels->addLayout(right);
    auto* box = new QVBoxLayout(this);
    box->addWidget(heading_);
    box->addWidget(kindTitle_);
    box->addLayout(panels);
    box->addLayout(unitRow);
    box->addWidget(automatic_);
    box->addWidget(smoothing_);
    box->addWidget(variable_);
    box->addWidget(bootstrap_);
    box->addLayout(buttons);
}

void TfmHazards::showPanels(HazardKind panels) {
    kind_ = panels;
    timeRange_->setVisible(panels == HazardKind::Hazard);
    magnitudeGroup_->setVisible(panels == HazardKind::Hazard);
    magnitudeRange_->setVisible(panels == HazardKind::MeanReturnPeriod ||
                                panels == HazardKind::Probabilities ||
                                panels == HazardKind::HazardVsMagnitude);
    hRange_->setVisible(panels == HazardKind::SmoothingFactor);
    functionGroup_->setVisible(panels == HazardKind::Probabilities);
    periodGroup_->setVisible(panels == HazardKind::HazardVsMagnitude);
}

void TfmHazards::prepareNonParametric(const HazardParameters& p, double a, double b, const Locale& locale) {
    parametric_ = false;
    a_ = a, b_ = b, locale_ = locale;
    setWindowTitle(QString::fromUtf8(kHazardDialogCaption));
    heading_->setText(QString::fromUtf8(kHazardDialogHeading));
    kindTitle_->setText(QString::fromStdString(HazardKindTitle(p.kind)));
    showPanels(p.kind);
    smoothing_->setVisible(true);
    // The record's range goes to the panel of its variable.
    if (p.kind == HazardKind::Hazard) {
        timeStart_->setValue(p.start);
        timeEnd_->setValue(p.end);
        timeStep_->setValue(p.step);
    } else if (p.kind == HazardKind::SmoothingFactor) {
        hStart_->setValue(p.start);
        hEnd_->setValue(p.end);
        hStep_->setValue(p.step);
    } else {
        magStart_->setValue(p.start);
        magEnd_->setValue(p.end);
        magStep_->setValue(p.step);
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if (p.kind == HazardKind::Hazard) {
            magnitudes_[i].value->setValue(p.values[i]);
            magnitudes_[i].check->setChecked(i == 0);
        }
        if (p.kind == HazardKind::HazardVsMagnitude) {
            periods_[i].value->setValue(p.values[i]);
            periods_[i].check->setChecked(true);
        }
    }
    for (std::size_t i = 0; i < 3; ++i) functions_[i]->setChecked((p.functions >> i) & 1u);
    unit_->setCurrentIndex(p.unit == TimeUnit::Quarters ? 1 : 0);
    automatic_->setChecked(true);
    search_->setChecked(p.useSearch);
    alternativeH_->setValue(p.alternativeH);
    variable_->setChecked(p.variableUpperLimit);
    bootstrap_->setOptions(p.bootstrap);
    touched_ = false;
    updateEnabled();
    updateReadouts();
}

void TfmHazards::prepareParametric(ChartKind kind, bool variableUpperLimit, double a, double b,
                                   const Locale& locale) {
    const HazardKind panels = panelsOfParametric(kind);
    prepareNonParametric(DefaultHazardParameters(panels, 0, 0.12, true, variableUpperLimit), a, b, locale);
    parametric_ = true;
    parametricKind_ = kind;
    heading_->setText(QStringLiteral("Parametryczna analiza hazardu sejsmicznego"));
    kindTitle_->setText(parametricTitle(kind));
    setWindowTitle(QStringLiteral("Parametryczna analiza hazardu"));
    smoothing_->setVisible(false);
}

TimeUnit TfmHazards::unit() const {
    return unit_->currentIndex() == 1 ? TimeUnit::Quarters : TimeUnit::Months;
}

std::vector<SelectableValue> TfmHazards::rowsOf(const std::array<ValueRow, 4>& rows) const {
    std::vector<SelectableValue> out;
    for (const ValueRow& r : rows) out.push_back({r.check->isChecked(), r.value->value()});
    return out;
}

std::uint8_t TfmHazards::functionFlags() const {
    std::uint8_t f = 0;
    for (std::size_t i = 0; i < 3; ++i)
        if (functions_[i]->isChecked()) f |= static_cast<std::uint8_t>(1u << i);
    return f;
}

bool TfmHazards::continueEnabled() const {
    const auto& rows = kind_ == HazardKind::Hazard ? magnitudes_ : periods_;
    return ContinueEnabled(kind_, rowsOf(rows), functionFlags());
}

void TfmHazards::updateEnabled() {
    for (const auto* rows : {&magnitudes_, &periods_})
        for (const ValueRow& r : *rows) r.value->setEnabled(r.check->isChecked());
    const bool manual = !automatic_->isChecked();
    for (QGroupBox* g : {timeRange_, magnitudeRange_, hRange_}) g->setEnabled(manual);
    alternativeH_->setEnabled(!search_->isChecked());
    continue_->setEnabled(continueEnabled());
}

void TfmHazards::updateReadouts() {
    const auto energy = [&](double m) { return QString::fromStdString(EnergyReadout(m, a_, b_, locale_)); };
    magStartEnergy_->setText(energy(magStart_->value()));
    magEndEnergy_->setText(energy(magEnd_->value()));
    for (ValueRow& r : magnitudes_) r.readout->setText(energy(r.value->value()));
    const QString label = QString::fromStdString(PeriodUnitLabel(unit()));
    for (ValueRow& r : periods_) r.readout->setText(label);
}

HazardParameters TfmHazards::nonParametric() const {
    HazardParameters p;
    p.kind = kind_;
    p.accepted = result() == QDialog::Accepted;
    p.automaticRange = automatic_->isChecked();
    if (p.automaticRange) {
        p.start = p.end = p.step = -1.0;
    } else if (kind_ == HazardKind::Hazard) {
        p.start = timeStart_->value(), p.end = timeEnd_->value(), p.step = timeStep_->value();
    } else if (kind_ == HazardKind::SmoothingFactor) {
        p.start = hStart_->value(), p.end = hEnd_->value(), p.step = hStep_->value();
    } else {
        p.start = magStart_->value(), p.end = magEnd_->value(), p.step = magStep_->value();
    }
    if (kind_ == HazardKind::Hazard || kind_ == HazardKind::HazardVsMagnitude) {
        const std::vector<double> v =
            SelectedValues(rowsOf(kind_ == HazardKind::Hazard ? magnitudes_ : periods_), locale_);
        p.count = static_cast<int>(std::min<std::size_t>(v.size(), 4));
        std::copy(v.begin(), v.begin() + p.count, p.values.begin());
    }
    p.functions = kind_ == HazardKind::Probabilities ? functionFlags() : 0;
    p.unit = unit();
    p.useSearch = search_->isChecked();
    p.alternativeH = alternativeH_->value();
    p.touched = touched_;
    p.variableUpperLimit = variable_->isChecked();
    p.bootstrap = bootstrap_->options();
    return p;
}

ParametricRequest TfmHazards::parametric() const {
    const HazardParameters p = nonParametric();
    ParametricRequest r;
    r.timeUnit = p.unit;
    r.values = p.Values();
    r.start = p.start;
    r.step = p.step;
    r.end = p.end;
    r.variableUpperLimit = p.variableUpperLimit;
    r.bootstrap = p.bootstrap;
    return r;
}

}  // namespace zorv

#include "catalogue/TfmBasePreferences.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/EnergyMagnitude.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

QDoubleSpinBox* coefficient(QWidget* parent, const char* name, double value) {
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(QString::fromUtf8(name));
    s->setRange(0.0, 9.99);
    s->setSingleStep(0.02);
    s->setDecimals(2);
    s->setValue(value);
    return s;
}

}  // namespace

TfmBasePreferences::TfmBasePreferences(BaseProperties& values, const Preferences& prefs, const Locale& locale,
                                       QWidget* parent)
    : QDialog(parent), values_(values), prefs_(prefs), locale_(locale) {
    setObjectName(QStringLiteral("TfmBasePreferences"));
    setWindowTitle(QStringLiteral("Właściwości bazy danych"));
    auto* relation = new QGroupBox(QStringLiteral("Log Energii = a · Magnituda + b, energia w [J]"), this);
    auto* form = new QFormLayout(relation);
    a_ = coefficient(relation, "a", values_.a);
    b_ = coefficient(relation, "b", values_.b);
    mmin_ = coefficient(relation, "MMin", values_.MMin);
    energy_ = new QLineEdit(relation);
    energy_->setObjectName(QStringLiteral("Energia"));
    energy_->setReadOnly(true);
    form->addRow(QStringLiteral("a:"), a_);
    form->addRow(QStringLiteral("b:"), b_);
    estimate_ = new QPushButton(QStringLiteral("Oszacuj"), relation);
    estimate_->setObjectName(QStringLiteral("Oszacuj"));
    estimate_->setToolTip(QStringLiteral("Oszacuj magnitudę kompletności z bieżącej próby katalogu"));
    estimate_->setEnabled(false);
    auto* mminRow = new QHBoxLayout;
    mminRow->addWidget(mmin_, 1);
    mminRow->addWidget(estimate_);
    form->addRow(QStringLiteral("Próg kompletności katalogu sejsmicznego:"), mminRow);
    form->addRow(QStringLiteral("Energia progu [J]:"), energy_);

    localized_ = new QCheckBox(QStringLiteral("Pokaż tylko zlokalizowane wstrząsy"), this);
    localized_->setObjectName(QStringLiteral("Localized"));
    protected_ = new QCheckBox(QStringLiteral("Zabezpiecz bazę przed ingerencją"), this);
    protected_->setObjectName(QStringLiteral("BaseProtected"));
    protected_->setChecked(true);

    auto* fieldsBox = new QGroupBox(QStringLiteral("Uwzględnij pola"), this);
    auto* fieldsLayout = new QVBoxLayout(fieldsBox);
    fields_ = new QListWidget(fieldsBox);
    fields_->setObjectName(QStringLiteral("ListaPol"));
    selectAll_ = new QCheckBox(QStringLiteral("Zaznacz wszystkie"), fieldsBox);
    selectAll_->setObjectName(QStringLiteral("SelectAll"));
    selectAll_->setChecked(true);
    fieldsLayout->addWidget(fields_);
    fieldsLayout->addWidget(selectAll_);

    histogram_ = new QPushButton(QStringLiteral("Wykres powtarzalności"), this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    help_ = new QPushButton(QStringLiteral("Pomoc"), this);
    connect(help_, &QPushButton::clicked, this,
            [this] { emit helpRequested(QStringLiteral("katalog.html")); });
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(histogram_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(help_);

    auto* left = new QVBoxLayout;
    left->addWidget(relation);
    left->addWidget(localized_);
    left->addWidget(protected_);
    left->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addWidget(fieldsBox, 2);
    auto* box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addLayout(buttons);

    const auto bind = [this](QDoubleSpinBox* s, double BaseProperties::*member) {
        connect(s, &QDoubleSpinBox::valueChanged, this, [this, member](double v) {
            if (loading_) return;
            values_.*member = v;
            refreshThresholdEnergy();
        });
    };
    bind(a_, &BaseProperties::a);
    bind(b_, &BaseProperties::b);
    bind(mmin_, &BaseProperties::MMin);
    connect(selectAll_, &QCheckBox::clicked, this, [this](bool on) {
        for (int i = 0; i < fields_->count(); ++i)
            fields_->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(estimate_, &QPushButton::clicked, this, [this] {
        if (!estimator_) return;
        if (const std::optional<double> mc = estimator_()) mmin_->setValue(*mc);
    });
    connect(histogram_, &QPushButton::clicked, this, [this] {
        histogramRequested_ = true;
        accept();
    });
    refreshThresholdEnergy();
}

void TfmBasePreferences::prepare(const std::vector<Field>& fields, bool protectedBase, bool localized) {
    histogramRequested_ = false;
    fields_->clear();
    for (const Field& f : fields) {
        auto* item = new QListWidgetItem(f.name, fields_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(f.visible ? Qt::Checked : Qt::Unchecked);
    }
    protected_->setChecked(protectedBase);
    localized_->setChecked(localized);
    if (initFromPreferences_) {
        values_.a = prefs_.a;
        values_.b = prefs_.b;
        values_.MMin = prefs_.MMin;
        initFromPreferences_ = false;
    }
    loading_ = true;
    a_->setValue(values_.a);
    b_->setValue(values_.b);
    mmin_->setValue(values_.MMin);
    loading_ = false;
    refreshThresholdEnergy();
}

void TfmBasePreferences::setCompletenessEstimator(std::function<std::optional<double>()> estimator) {
    estimator_ = std::move(estimator);
    estimate_->setEnabled(static_cast<bool>(estimator_));
}

std::vector<bool> TfmBasePreferences::checkedFields() const {
    std::vector<bool> out;
    for (int i = 0; i < fields_->count(); ++i) out.push_back(fields_->item(i)->checkState() == Qt::Checked);
    return out;
}

bool TfmBasePreferences::baseProtected() const { return protected_->isChecked(); }
bool TfmBasePreferences::localized() const { return localized_->isChecked(); }
QString TfmBasePreferences::thresholdEnergyText() const { return energy_->text(); }

void TfmBasePreferences::refreshThresholdEnergy() {
    const EnergyMagnitudeRelation r{values_.a, values_.b};
    energy_->setText(
        QString::fromStdString(formatMask(r.energyFromMagnitude(values_.MMin), "0.00e+00", locale_)));
}

}  // namespace zorv

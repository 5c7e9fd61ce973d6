#include "hazard/TfmHazardMap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "hazard/BootstrapBox.h"
#include "widgets/TypedDateEdit.h"

namespace zorv {

namespace {

// Day numbers count from 1899-12-30.
QDate dateOfDay(std::int32_t day) { return QDate(1899, 12, 30).addDays(day); }
std::int32_t dayOfDate(const QDate& d) { return static_cast<std::int32_t>(QDate(1899, 12, 30).daysTo(d)); }

QDoubleSpinBox* distanceBox(QWidget* parent) {
    auto* b = new QDoubleSpinBox(parent);
    b->setRange(0.0, 1e7);
    b->setDecimals(1);
    b->setSingleStep(50.0);
    return b;
}

}  // namespace

TfmHazardMap::TfmHazardMap(QWidget* parent)
    : QDialog(parent),
      quantities_(new QListWidget(this)),
      automaticCell_(new QCheckBox(QStringLiteral("dobrana (około 50 węzłów wzdłuż dłuższego boku)"), this)),
      cell_(distanceBox(this)),
      sampling_(new QComboBox(this)),
      nearest_(new QSpinBox(this)),
      radius_(distanceBox(this)),
      maxRadius_(distanceBox(this)),
      minEvents_(new QSpinBox(this)),
      threshold_(new QComboBox(this)),
      mcMethod_(new QComboBox(this)),
      magnitude_(new QDoubleSpinBox(this)),
      duration_(new QDoubleSpinBox(this)),
      unit_(new QComboBox(this)),
      change_(
          new QCheckBox(QStringLiteral("Mapa zmian między dwoma okresami (iloraz tempa i różnica b)"), this)),
      dates_{new TypedDateEdit(this), new TypedDateEdit(this), new TypedDateEdit(this),
             new TypedDateEdit(this)},
      bootstrap_(new BootstrapBox(this)),
      problem_(new QLabel(this)) {
    setObjectName(QStringLiteral("TfmHazardMap"));
    setWindowTitle(QStringLiteral("Mapa zagrożenia"));
    for (const MapQuantityInfo& q : mapQuantities()) {
        auto* item = new QListWidgetItem(QString::fromUtf8(q.caption), quantities_);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::UserRole, static_cast<int>(q.quantity));
    }
    quantities_->setMinimumHeight(150);
    sampling_->addItem(QStringLiteral("N najbliższych zjawisk w promieniu Rmax"));
    sampling_->addItem(QStringLiteral("wszystkie zjawiska w promieniu R"));
    nearest_->setRange(2, 100000000);
    maxRadius_->setSpecialValueText(QStringLiteral("bez ograniczenia"));
    minEvents_->setRange(2, 100000000);
    threshold_->addItem(QStringLiteral("max(Mc węzła, MMin)"));
    threshold_->addItem(QStringLiteral("MMin katalogu"));
    for (McMethod m : allMcMethods())
        mcMethod_->addItem(QString::fromUtf8(mcMethodCaption(m)), static_cast<int>(m));
    magnitude_->setRange(0.001, 10.0);
    magnitude_->setDecimals(2);
    magnitude_->setSingleStep(0.1);
    duration_->setRange(0.1, 1000.0);
    duration_->setDecimals(1);
    unit_->addItem(QStringLiteral("miesiące"));
    unit_->addItem(QStringLiteral("kwartały"));
    for (QDateEdit* d : dates_) {
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
        d->setMinimumWidth(120);
    }
    problem_->setStyleSheet(QStringLiteral("color: #a00000"));
    problem_->setWordWrap(true);

    auto* what = new QGroupBox(QStringLiteral("Wielkości w węzłach"), this);
    auto* whatBox = new QVBoxLayout(what);
    whatBox->addWidget(quantities_);
    whatBox->addWidget(change_);
    auto* periods = new QGridLayout;
    periods->addWidget(new QLabel(QStringLiteral("Okres 1:"), this), 0, 0);
    periods->addWidget(dates_[0], 0, 1);
    periods->addWidget(new QLabel(QStringLiteral("do"), this), 0, 2);
    periods->addWidget(dates_[1], 0, 3);
    periods->addWidget(new QLabel(QStringLiteral("Okres 2:"), this), 1, 0);
    periods->addWidget(dates_[2], 1, 1);
    periods->addWidget(new QLabel(QStringLiteral("do"), this), 1, 2);
    periods->addWidget(dates_[3], 1, 3);
    whatBox->addLayout(periods);

    auto* grid = new QGroupBox(QStringLiteral("Siatka i próba węzła"), this);
    auto* form = new QFormLayout(grid);
    auto* cellRow = new QHBoxLayout;
    cellRow->addWidget(cell_);
    cellRow->addWidget(automaticCell_);
    form->addRow(QStringLiteral("Komórka siatki:"), cellRow);
    form->addRow(QStringLiteral("Próba:"), sampling_);
    form->addRow(QStringLiteral("N:"), nearest_);
    form->addRow(QStringLiteral("Rmax:"), maxRadius_);
    form->addRow(QStringLiteral("R:"), radius_);
    form->addRow(QStringLiteral("Minimalna liczba zjawisk:"), minEvents_);
    form->addRow(QStringLiteral("Próg statystyk:"), threshold_);
    form->addRow(QStringLiteral("Metoda Mc:"), mcMethod_);
    auto* hazard = new QHBoxLayout;
    hazard->addWidget(new QLabel(QStringLiteral("m ="), this));
    hazard->addWidget(magnitude_);
    hazard->addWidget(new QLabel(QStringLiteral("D ="), this));
    hazard->addWidget(duration_);
    hazard->addWidget(unit_);
    form->addRow(QStringLiteral("Hazard P(M ≥ m w ciągu D):"), hazard);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    continue_ = buttons->button(QDialogButtonBox::Ok);
    continue_->setText(QStringLiteral("Kontynuuj"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("Pomoc"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit helpRequested(QStringLiteral("mapa_zagrozenia.html")); });

    auto* columns = new QHBoxLayout;
    columns->addWidget(what, 1);
    columns->addWidget(grid, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(bootstrap_);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    connect(quantities_, &QListWidget::itemChanged, this, [this] { update(); });
    for (QCheckBox* c : {automaticCell_, change_})
        connect(c, &QCheckBox::toggled, this, [this] { update(); });
    for (QComboBox* c : {sampling_, threshold_})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { update(); });
    for (QDoubleSpinBox* s : {cell_, radius_, maxRadius_, magnitude_, duration_})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] { update(); });
    for (QSpinBox* s : {nearest_, minEvents_})
        connect(s, &QSpinBox::valueChanged, this, [this] { update(); });
    for (QDateEdit* d : dates_) connect(d, &QDateEdit::dateChanged, this, [this] { update(); });
    prepare(HazardMapParameters{}, 0, 0);
}

void TfmHazardMap::prepare(const HazardMapParameters& p, std::int32_t first, std::int32_t last) {
    for (int i = 0; i < quantities_->count(); ++i) {
        QListWidgetItem* item = quantities_->item(i);
        const auto q = static_cast<MapQuantity>(item->data(Qt::UserRole).toInt());
        const bool on = std::find(p.quantities.begin(), p.quantities.end(), q) != p.quantities.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    automaticCell_->setChecked(!p.grid.cellSize);
    cell_->setValue(p.grid.cellSize.value_or(0.0));
    sampling_->setCurrentIndex(p.sampling.kind == SamplingKind::Radius ? 1 : 0);
    nearest_->setValue(p.sampling.nearest);
    radius_->setValue(p.sampling.radius);
    maxRadius_->setValue(p.sampling.maxRadius);
    minEvents_->setValue(p.sampling.minEvents);
    threshold_->setCurrentIndex(p.threshold == MapThreshold::MMin ? 1 : 0);
    mcMethod_->setCurrentIndex(std::max(0, mcMethod_->findData(static_cast<int>(p.mcMethod))));
    magnitude_->setValue(p.magnitude);
    duration_->setValue(p.duration);
    unit_->setCurrentIndex(p.unit == TimeUnit::Quarters ? 1 : 0);
    change_->setChecked(p.before.has_value());
    const std::int32_t middle = first + (last - first) / 2;
    const DayPeriod before = p.before.value_or(DayPeriod{first, middle});
    const DayPeriod after = p.after.value_or(DayPeriod{middle + 1, last});
    dates_[0]->setDate(dateOfDay(before.first));
    dates_[1]->setDate(dateOfDay(before.last));
    dates_[2]->setDate(dateOfDay(after.first));
    dates_[3]->setDate(dateOfDay(after.last));
    bootstrap_->setOptions(p.bootstrap);
    update();
}

HazardMapParameters TfmHazardMap::parameters() const {
    HazardMapParameters p;
    p.quantities.clear();
    for (int i = 0; i < quantities_->count(); ++i)
        if (quantities_->item(i)->checkState() == Qt::Checked)
            p.quantities.push_back(
                static_cast<MapQuantity>(quantities_->item(i)->data(Qt::UserRole).toInt()));
    if (!automaticCell_->isChecked()) p.grid.cellSize = cell_->value();
    p.sampling.kind = sampling_->currentIndex() == 1 ? SamplingKind::Radius : SamplingKind::Nearest;
    p.sampling.nearest = nearest_->value();
    p.sampling.radius = radius_->value();
    p.sampling.maxRadius = maxRadius_->value();
    p.sampling.minEvents = minEvents_->value();
    p.threshold = threshold_->currentIndex() == 1 ? MapThreshold::MMin : MapThreshold::NodeCompleteness;
    p.mcMethod = static_cast<McMethod>(mcMethod_->currentData().toInt());
    p.magnitude = magnitude_->value();
    p.duration = duration_->value();
    p.unit = unit_->currentIndex() == 1 ? TimeUnit::Quarters : TimeUnit::Months;
    if (change_->isChecked()) {
        p.before = DayPeriod{dayOfDate(dates_[0]->date()), dayOfDate(dates_[1]->date())};
        p.after = DayPeriod{dayOfDate(dates_[2]->date()), dayOfDate(dates_[3]->date())};
    }
    p.bootstrap = bootstrap_->options();
    return p;
}

void TfmHazardMap::update() {
    const bool radius = sampling_->currentIndex() == 1;
    nearest_->setEnabled(!radius);
    maxRadius_->setEnabled(!radius);
    radius_->setEnabled(radius);
    cell_->setEnabled(!automaticCell_->isChecked());
    mcMethod_->setEnabled(threshold_->currentIndex() == 0);
    quantities_->setEnabled(!change_->isChecked());
    for (QDateEdit* d : dates_) d->setEnabled(change_->isChecked());
    const auto problem = HazardMapProblem(parameters());
    problem_->setText(problem ? QString::fromStdString(*problem) : QString());
    problem_->setVisible(problem.has_value());
    if (continue_) continue_->setEnabled(!problem);
}

}  // namespace zorv

#include "analysis/TfmAddSort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/DialogButtons.h"

namespace zorv {

namespace {

// Whole joules from 1 J to 1e11 J, chosen with the arrows only.
QDoubleSpinBox* thresholdEdit(double value, QWidget* parent) {
    auto* e = new QDoubleSpinBox(parent);
    e->setRange(1.0, 1e11);
    e->setSingleStep(1.0);
    e->setDecimals(0);
    e->setValue(value);
    if (auto* text = e->findChild<QLineEdit*>()) text->setReadOnly(true);
    return e;
}

}  // namespace

TfmAddSort::TfmAddSort(QWidget* parent)
    : QDialog(parent),
      chart_(new QLabel(this)),
      scale_(new QComboBox(this)),
      panel_(new QGroupBox(QStringLiteral("Energia śladów"), this)),
      trace_(thresholdEdit(500.0, panel_)),
      discharge_(thresholdEdit(1e7, panel_)),
      bStatistics_(
          new QCheckBox(QStringLiteral("Błędy standardowe b i test Utsu (kolumny sigma, P_UTSU)"), this)),
      bAki_(new QCheckBox(QStringLiteral("b Aki–Utsu z błędem Shi–Bolta obok (kolumny b_AKI, sigma_AKI)"),
                          this)),
      continue_(new QPushButton(QStringLiteral("Kontynuuj"), this)) {
    setObjectName(QStringLiteral("TfmAddSort"));
    setWindowTitle(QStringLiteral("Analiza aktywności sejsmicznej"));
    scale_->setObjectName(QStringLiteral("Scale"));
    scale_->addItems({QStringLiteral("Kwartały"), QStringLiteral("Miesiące"), QStringLiteral("Lata")});
    panel_->setObjectName(QStringLiteral("EnergiaSladow"));
    trace_->setObjectName(QStringLiteral("ProgSladow"));
    discharge_->setObjectName(QStringLiteral("ProgRozladowania"));
    bStatistics_->setObjectName(QStringLiteral("BStatistics"));
    bStatistics_->setVisible(false);
    bAki_->setObjectName(QStringLiteral("BAki"));
    bAki_->setVisible(false);

    auto* form = new QFormLayout(panel_);
    const auto row = [&](const char* label, QDoubleSpinBox* edit) {
        auto* line = new QHBoxLayout;
        line->addWidget(edit, 1);
        line->addWidget(new QLabel(QStringLiteral("[ J ]"), panel_));
        form->addRow(QString::fromUtf8(label), line);
    };
    row("Próg energii śladów", trace_);
    row("Próg energii zjawisk rozładowujących", discharge_);

    connect(continue_, &QPushButton::clicked, this, &QDialog::accept);

    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(new QLabel(QStringLiteral("Wykres:"), this));
    chartRow->addWidget(chart_, 1);
    auto* scaleRow = new QFormLayout;
    scaleRow->addRow(QStringLiteral("Podział skali czasu"), scale_);
    QHBoxLayout* buttons =
        dialogButtonRow(this, continue_, [this] { emit helpRequested(QStringLiteral("aktywnosc.html")); });
    auto* box = new QVBoxLayout(this);
    box->addLayout(chartRow);
    box->addLayout(scaleRow);
    box->addWidget(panel_);
    box->addWidget(bStatistics_);
    box->addWidget(bAki_);
    box->addLayout(buttons);
}

QString TfmAddSort::bValueCaption() { return QStringLiteral("Analiza zmian współczynnika b"); }

void TfmAddSort::prepare(const QString& dialogText, bool thresholds, bool bStatistics) {
    chart_->setText(dialogText);
    panel_->setVisible(thresholds);
    bStatistics_->setVisible(bStatistics);
    bAki_->setVisible(bStatistics);
    // The b-value analysis is no activity analysis; the caption says which
    // analysis asks.
    setWindowTitle(bStatistics ? bValueCaption() : QStringLiteral("Analiza aktywności sejsmicznej"));
    adjustSize();
    // Wide enough that the title bar shows the whole caption (with room for
    // the frame's buttons).
    setMinimumWidth(0);
    const int caption = fontMetrics().horizontalAdvance(windowTitle()) + 140;
    if (width() < caption) resize(caption, height());
}

PeriodKind TfmAddSort::periodKind() const {
    switch (scale_->currentIndex()) {
        case 1: return PeriodKind::Months;
        case 2: return PeriodKind::Years;
        default: return PeriodKind::Quarters;
    }
}

void TfmAddSort::setPeriodKind(PeriodKind kind) {
    scale_->setCurrentIndex(kind == PeriodKind::Months ? 1 : kind == PeriodKind::Years ? 2 : 0);
}

double TfmAddSort::traceThreshold() const { return trace_->value(); }
double TfmAddSort::dischargeThreshold() const { return discharge_->value(); }
bool TfmAddSort::bStatistics() const { return !bStatistics_->isHidden() && bStatistics_->isChecked(); }
bool TfmAddSort::bAki() const { return !bAki_->isHidden() && bAki_->isChecked(); }

}  // namespace zorv

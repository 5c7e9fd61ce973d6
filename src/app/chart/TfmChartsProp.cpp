#include "chart/TfmChartsProp.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "chart/ChartPropPages.h"
#include "chart/TfmGraph.h"

namespace zorv {

TfmChartsProp::TfmChartsProp(QWidget* parent)
    : QDialog(parent),
      pickers_(StylePickers::standard()),
      tabs_(new QTabWidget(this)),
      apply_(new QPushButton(QStringLiteral("Zastosuj..."), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Anuluj"), this)) {
    setObjectName(QStringLiteral("TfmChartsProp"));
    setWindowTitle(QStringLiteral("Własności wykresu"));
    tabs_->setObjectName(QStringLiteral("Pages"));
    tabs_->setUsesScrollButtons(false);  // all six captions in view
    apply_->setObjectName(QStringLiteral("Apply"));
    ok_->setObjectName(QStringLiteral("OK"));
    cancel_->setObjectName(QStringLiteral("Cancel"));

    const std::pair<ChartPropPage* (*)(const StylePickers&, QWidget*), const char*> pages[] = {
        {makeTitlesPage, "Nagłówki wykresu"},
        {makeAxisTitlesPage, "Nagłówki osi"},
        {makeColoursPage, "Kolory"},
        {makeLegendPage, "Legenda"},
        {makeSeriesPage, "Serie"},
        {makeAxesPage, "Osie"}};
    for (const auto& [make, caption] : pages) {
        ChartPropPage* page = make(pickers_, tabs_);
        pages_.push_back(page);
        tabs_->addTab(page, QString::fromUtf8(caption));
    }

    ok_->setDefault(true);
    connect(apply_, &QPushButton::clicked, this, &TfmChartsProp::apply);
    connect(ok_, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply_);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* box = new QVBoxLayout(this);
    box->addWidget(tabs_);
    box->addLayout(buttons);
}

void TfmChartsProp::load(TfmGraph& chart) {
    chart_ = &chart;
    for (ChartPropPage* p : pages_) p->load(chart);
}

void TfmChartsProp::showPage(int page) {
    tabs_->setCurrentIndex(page >= 1 && page <= tabs_->count() ? page - 1 : 0);
}

void TfmChartsProp::apply() {
    if (!chart_) return;
    for (ChartPropPage* p : pages_) p->apply(*chart_);
    chart_->chart()->replot();
}

}  // namespace zorv

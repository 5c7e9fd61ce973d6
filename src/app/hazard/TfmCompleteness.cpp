#include "hazard/TfmCompleteness.h"

#include <qcustomplot.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "hazard/CompletenessTable.h"
#include "services/UserDialogs.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

// Distinct colours of the estimate lines, in the order of the methods.
const QColor kLineColours[] = {QColor(200, 30, 30), QColor(230, 120, 0), QColor(30, 140, 30),
                               QColor(0, 110, 110), QColor(40, 60, 200), QColor(150, 40, 160)};

QString number(double v, const char* mask, const Locale& loc) {
    return std::isnan(v) ? QString() : QString::fromStdString(formatMask(v, mask, loc));
}

}  // namespace

TfmCompleteness::TfmCompleteness(const CompletenessResult& result, const Locale& locale, QWidget* parent)
    : QDialog(parent), result_(result), locale_(locale) {
    setObjectName(QStringLiteral("TfmCompleteness"));
    setWindowTitle(QStringLiteral("Magnituda kompletności"));

    table_ = new QTableWidget(static_cast<int>(result_.estimates.size()), 5, this);
    table_->setObjectName(QStringLiteral("Estimates"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Metoda"), QStringLiteral("Mc"),
                                       QStringLiteral("Odch. std."), QStringLiteral("b"),
                                       QStringLiteral("n")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const McEstimate& e = result_.estimates[static_cast<std::size_t>(r)];
        const bool fitted = e.mc && !std::isnan(e.fit.b);
        const QString cells[] = {QString::fromUtf8(mcMethodCaption(e.method)),
                                 e.mc ? number(*e.mc, "0.00", locale_) : QStringLiteral("brak"),
                                 e.mc ? number(e.sigma, "0.000", locale_) : QString(),
                                 fitted ? number(e.fit.b, "0.000", locale_) + QStringLiteral(" ± ") +
                                              number(e.fit.sigma, "0.000", locale_)
                                        : QString(),
                                 fitted ? QString::number(e.fit.events) : QString()};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 0) item->setForeground(kLineColours[r % 6]);
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int width = 2 * table_->frameWidth();
    for (int c = 0; c < table_->columnCount(); ++c) width += table_->columnWidth(c);
    table_->setMinimumWidth(width + 8);

    chart_ = new QCustomPlot(this);
    chart_->setObjectName(QStringLiteral("FmdChart"));
    chart_->setMinimumSize(520, 360);
    buildChart();

    auto* note =
        new QLabel(QStringLiteral("Próba: %1 zjawisk, przedział magnitudy %2, prób bootstrap: %3")
                       .arg(result_.histogram.cumulative(0))
                       .arg(QString::fromStdString(formatGeneral(result_.histogram.binWidth, locale_)))
                       .arg(result_.resamples),
                   this);
    take_ = new QPushButton(QStringLiteral("Przyjmij"), this);
    take_->setObjectName(QStringLiteral("Take"));
    take_->setEnabled(false);
    cancel_ = new QPushButton(QStringLiteral("Anuluj"), this);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(note);
    buttons->addStretch();
    buttons->addWidget(take_);
    buttons->addWidget(cancel_);

    auto* top = new QHBoxLayout;
    top->addWidget(table_, 0);
    top->addWidget(chart_, 1);
    auto* box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addLayout(buttons);

    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int, int) {
        if (take_->isEnabled()) take_->click();
    });
    connect(take_, &QPushButton::clicked, this, [this] {
        const int r = table_->currentRow();
        if (r < 0) return;
        taken_ = result_.estimates[static_cast<std::size_t>(r)].mc;
        if (taken_) accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(1150, 480);
}

void TfmCompleteness::selectionChanged() {
    const int r = table_->currentRow();
    take_->setEnabled(r >= 0 && result_.estimates[static_cast<std::size_t>(r)].mc.has_value());
}

void TfmCompleteness::buildChart() {
    const MagnitudeHistogram& h = result_.histogram;
    QVector<double> m, counts, cumulative;
    std::int64_t above = h.cumulative(0);
    double top = 1.0;
    for (std::size_t i = 0; i < h.size(); ++i) {
        // Empty bins have no point on a log scale.
        if (h.counts[i] > 0) {
            m << h.centre(i);
            counts << static_cast<double>(h.counts[i]);
            cumulative << static_cast<double>(above);
        }
        top = std::max(top, static_cast<double>(above));
        above -= h.counts[i];
    }
    chart_->yAxis->setScaleType(QCPAxis::stLogarithmic);
    chart_->yAxis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
    chart_->yAxis->setNumberFormat(QStringLiteral("eb"));
    chart_->yAxis->setNumberPrecision(0);
    chart_->xAxis->setLabel(QStringLiteral("Magnituda"));
    chart_->yAxis->setLabel(QStringLiteral("Liczba zjawisk"));

    QCPGraph* cum = chart_->addGraph();
    cum->setName(QStringLiteral("Skumulowana (M ≥ m)"));
    cum->setData(m, cumulative, true);
    cum->setLineStyle(QCPGraph::lsNone);
    cum->setPen(QPen(Qt::black));
    cum->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, Qt::black, Qt::white, 5));
    QCPGraph* per = chart_->addGraph();
    per->setName(QStringLiteral("W przedziale"));
    per->setData(m, counts, true);
    per->setLineStyle(QCPGraph::lsNone);
    per->setPen(QPen(QColor(90, 90, 90)));
    per->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssTriangle, QColor(90, 90, 90), QColor(90, 90, 90), 6));

    const double dM = h.binWidth;
    const double left = h.size() ? h.centre(0) - dM : 0.0;
    const double right = h.size() ? h.centre(h.size() - 1) + dM : 1.0;
    chart_->xAxis->setRange(left, right);
    chart_->yAxis->setRange(0.5, top * 50.0);  // room for the legend above the tail

    // One line per distinct estimate; methods that agree share it.
    std::vector<std::pair<double, QString>> lines;
    for (std::size_t k = 0; k < result_.estimates.size(); ++k) {
        const McEstimate& e = result_.estimates[k];
        if (!e.mc) continue;
        auto* line = new QCPItemStraightLine(chart_);
        QPen pen(kLineColours[k % 6]);
        pen.setWidthF(1.5);
        pen.setStyle(k % 2 ? Qt::DashLine : Qt::SolidLine);
        line->setPen(pen);
        // Lines of equal estimates are moved apart by a fraction of a bin.
        int same = 0;
        for (std::size_t j = 0; j < k; ++j)
            same += result_.estimates[j].mc && std::abs(*result_.estimates[j].mc - *e.mc) < 1e-9;
        const double x = *e.mc + same * dM * 0.12;
        line->point1->setCoords(x, 1.0);
        line->point2->setCoords(x, 10.0);
        // The legend entry of the line.
        QCPGraph* key = chart_->addGraph();
        key->setName(QString::fromUtf8(mcMethodName(e.method)) + QStringLiteral(" = ") +
                     number(*e.mc, "0.00", locale_));
        key->setPen(pen);
    }
    chart_->legend->setVisible(true);
    QFont small = chart_->legend->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chart_->legend->setFont(small);
    chart_->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
    chart_->replot();
}

std::optional<double> estimateCompletenessInteractively(const AnalysisSettings& settings, Table* catalogue,
                                                        UserDialogs& dialogs, Progress* progress,
                                                        const std::function<int(QDialog&)>& exec,
                                                        QWidget* parent) {
    if (!catalogue) {
        dialogs.information(QStringLiteral("Magnituda kompletności"),
                            QStringLiteral("Otwórz katalog, aby oszacować magnitudę kompletności."));
        return std::nullopt;
    }
    CompletenessResult result;
    try {
        result = estimateCompleteness(datasetMagnitudes(settings, catalogue), McOptions{}, allMcMethods(),
                                      progress);
    } catch (const EBreakProcess&) {
        if (progress) progress->hide();
        return std::nullopt;
    } catch (const AnalysisError& e) {
        if (progress) progress->hide();
        showProblem(dialogs, QString::fromUtf8(e.what()));
        return std::nullopt;
    }
    TfmCompleteness d(result, settings.UserLocale, parent);
    if (exec(d) != QDialog::Accepted) return std::nullopt;
    return d.takenMc();
}

}  // namespace zorv

#include "charts/AnalysisChart.h"

#include <QCoreApplication>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/Database.h"
#include "charts/LocationMap.h"
#include "charts/MapCharts.h"
#include "charts/MaskTicker.h"
#include "charts/SeriesCaptions.h"
#include "charts/WrappedTextElement.h"
#include "hazard/HazardBootstrap.h"
#include "report/ReportWriter.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

// The event markers stand on the top edge of the plot: drawn clipped to the
// plot, their upper half would be cut off.
class EdgeMarkers : public QCPGraph {
public:
    using QCPGraph::QCPGraph;

protected:
    QRect clipRect() const override {
        const int reach = int(std::ceil(scatterStyle().size())) + 2;
        return QCPGraph::clipRect().adjusted(0, -reach, 0, 0);
    }
};

// Marks above every value are drawn only while they can be read.
constexpr int kMostMarkedPoints = 60;

QFont arialBold(int points) {
    QFont f(QStringLiteral("Arial"), points);
    f.setBold(true);
    return f;
}

double fieldNumber(const Table& t, int f, std::size_t row) { return t.column(f).numberAt(row); }

QString fieldText(const Table& t, int f, std::size_t row, const Locale& locale) {
    if (t.field(f).type == FieldType::String) return QString::fromStdString(t.column(f).textAt(row));
    return QString::fromStdString(formatGeneral(t.column(f).numberAt(row), locale));
}

}  // namespace

QColor toQColor(std::uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

std::uint32_t fromQColor(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

AnalysisChart::AnalysisChart(std::shared_ptr<Database> analysis, const AnalysisSettings& settings,
                             ChartKind kind, const QString& filterDescription, QWidget* parent)
    : QWidget(parent),
      analysis_(std::move(analysis)),
      settings_(settings),
      kind_(kind),
      filterDescription_(filterDescription),
      chart_(new QCustomPlot(this)),
      title_(new WrappedTextElement(chart_)),
      footer_(new WrappedTextElement(chart_)),
      info_(new QToolButton(this)) {
    setObjectName(QStringLiteral("AnalysisChart"));
    chart_->setObjectName(QStringLiteral("Chart"));
    info_->setObjectName(QStringLiteral("Info"));
    info_->setText(QStringLiteral("Info"));
    info_->setAutoRaise(true);
    info_->installEventFilter(this);
    connect(info_, &QToolButton::clicked, this, [this] {
        QToolTip::showText(QCursor::pos(), infoHint_.split(QLatin1Char('|')).join(QString()), info_);
    });
    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 2, 2, 0);
    top->addWidget(info_);
    top->addStretch();
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addLayout(top);
    box->addWidget(chart_, 1);

    chart_->plotLayout()->insertRow(0);
    chart_->plotLayout()->addElement(0, 0, title_);
    title_->setFont(arialBold(10));
    title_->setTextFlags(Qt::AlignLeft | Qt::AlignVCenter);
    chart_->plotLayout()->addElement(2, 0, footer_);
    footer_->setFont(arialBold(8));
    footer_->setTextFlags(Qt::AlignLeft | Qt::AlignVCenter);
    footer_->setVisible(false);
    for (QCPAxis* a : {chart_->xAxis, chart_->yAxis, chart_->yAxis2}) a->setLabelFont(arialBold(8));
    chart_->xAxis2->setVisible(false);
    // The legend stands beside the plot, not over it: the axis rectangle and
    // a legend column share the middle row of the layout.
    QCPAxisRect* rect = chart_->axisRect();
    chart_->plotLayout()->take(rect);
    chart_->plotLayout()->simplify();
    body_ = new QCPLayoutGrid;
    chart_->plotLayout()->insertRow(1);
    chart_->plotLayout()->addElement(1, 0, body_);
    body_->addElement(0, 0, rect);
    rect->insetLayout()->take(chart_->legend);
    legendCell_ = new QCPLayoutGrid;
    legendCell_->setMargins(QMargins(0, 0, 6, 0));
    body_->addElement(0, 1, legendCell_);
    chart_->legend->setVisible(true);
    chart_->legend->setBrush(Qt::white);
    chart_->axisRect()->setBackground(Qt::white);
    setPanelColour(panelColour_);
    // Under the legend (the axes layer lies below the legend's).
    legendShadow_ = new QCPItemRect(chart_);
    legendShadow_->setLayer(QStringLiteral("axes"));
    legendShadow_->setClipToAxisRect(false);
    legendShadow_->setPen(Qt::NoPen);
    legendShadow_->setSelectable(false);
    legendShadow_->setVisible(false);
    for (QCPItemPosition* p : {legendShadow_->topLeft, legendShadow_->bottomRight})
        p->setType(QCPItemPosition::ptAbsolute);
    connect(chart_, &QCustomPlot::afterLayout, this, &AnalysisChart::placeLegendShadow);
    for (QCPAxis* a : {chart_->yAxis, chart_->yAxis2})
        connect(a, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] { openBandEnds(true); });
    connect(chart_, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) {
        const QString reason = failureAt(e->position());
        if (!reason.isEmpty()) QToolTip::showText(e->globalPosition().toPoint(), reason, chart_);
    });
    createSeries();
    setupZoom({});
}

bool AnalysisChart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == info_ && event->type() == QEvent::Enter && info_->isDown())
        QToolTip::showText(QCursor::pos(), infoHint_, info_);
    return QWidget::eventFilter(watched, event);
}

void AnalysisChart::createSeries() {
    const auto& defaults = seriesDefaults();
    for (int i = 0; i < kSeriesCount; ++i) {
        const SeriesDefault& d = defaults[static_cast<std::size_t>(i)];
        ChartSeries& s = series_[static_cast<std::size_t>(i)];
        s.type = d.type;
        const QColor colour = toQColor(d.colour);
        if (d.type == SeriesType::Bar) {
            s.bars = new QCPBars(chart_->xAxis, chart_->yAxis);
            s.bars->setWidth(0.9);
            s.bars->setBrush(colour);
            s.bars->setPen(QPen(colour.darker(150)));
            s.marksVisible = true;
            s.marksFont = arialBold(7);
        } else {
            s.graph = i == seriesIndex("Series12") ? new EdgeMarkers(chart_->xAxis, chart_->yAxis)
                                                   : chart_->addGraph(chart_->xAxis, chart_->yAxis);
            if (d.type == SeriesType::Line) {
                s.graph->setPen(QPen(colour, 2));
                s.graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, colour, colour, 5));
            } else {
                s.graph->setLineStyle(QCPGraph::lsNone);
                const auto shape = i == seriesIndex("Series12") ? QCPScatterStyle::ssTriangleInverted
                                                                : QCPScatterStyle::ssCircle;
                s.graph->setScatterStyle(QCPScatterStyle(shape, colour, colour, 7));
            }
            if (i == seriesIndex("Series11")) {
                s.graph->setPen(QPen(toQColor(0x00FFFF), 2));
                s.graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, colour, colour, 6));
            }
        }
        QCPAbstractPlottable* p = s.plottable();
        p->setName(QString::fromUtf8(d.name));
        p->setVisible(false);
        p->removeFromLegend();
    }
}

void AnalysisChart::build() {
    if (kind_ == ChartKind::HazardMap) {
        const std::vector<std::string> columns = mapChartColumns(*analysis_);
        if (!columns.empty()) return buildMap(columns.front());
    }
    layout_ = chartLayout(kind_, *analysis_);
    applyLayout();
}

void AnalysisChart::buildTimeVariation(int quantity, int activity) {
    kind_ = ChartKind::TimeVariations;
    layout_ = timeVariationLayout(quantity, activity);
    applyLayout();
    if (quantity == 5)
        showLevelLine(settings_.MMin,
                      QStringLiteral("Próg kompletności MMin = ") +
                          QString::fromStdString(formatGeneral(settings_.MMin, settings_.UserLocale)));
    title_->setText(QString::fromStdString(timeVariationTitle(quantity)));
    setWindowTitle(withFilter(title_->text() + QStringLiteral(" w oknach czasowych")));
}

void AnalysisChart::applyLayout() {
    for (ChartSeries& s : series_) {
        s.active = false;
        s.tag = 0;
        s.plottable()->setVisible(false);
        s.plottable()->removeFromLegend();
        if (s.errorBars) chart_->removePlottable(s.errorBars);
        s.errorBars = nullptr;
    }
    for (const SeriesBinding& b : layout_.series) bindSeries(b);
    addBands();
    addFailureMarkers();
    // Bars of one chart stand side by side in each period.
    auto* group = new QCPBarsGroup(chart_);
    int activeBars = 0;
    for (const ChartSeries& s : series_)
        if (s.bars && s.active) ++activeBars;
    if (activeBars > 1) {
        for (ChartSeries& s : series_)
            if (s.bars && s.active) {
                s.bars->setWidth(0.9 / activeBars);
                group->append(s.bars);
            }
        group->setSpacingType(QCPBarsGroup::stAbsolute);
        group->setSpacing(0);
    }
    for (const AxisSetup& a : layout_.axes) setupAxis(a);
    if (std::none_of(layout_.axes.begin(), layout_.axes.end(),
                     [](const AxisSetup& a) { return a.axis == ChartAxis::Bottom; })) {
        AxisSetup bottom;
        bottom.axis = ChartAxis::Bottom;
        setupAxis(bottom);
    }
    chart_->yAxis2->setVisible(std::any_of(layout_.axes.begin(), layout_.axes.end(),
                                           [](const AxisSetup& a) { return a.axis == ChartAxis::Right; }));
    if (layout_.angledLabels) chart_->xAxis->setTickLabelRotation(60);
    if (layout_.everyLabel)
        if (auto labels = qSharedPointerDynamicCast<RecordLabelTicker>(chart_->xAxis->ticker()))
            labels->setTickCount(std::max(1, static_cast<int>(labels->ticks().size())));
    chart_->xAxis->setLabel(QString::fromStdString(layout_.bottomTitle));
    chart_->yAxis->setLabel(QString::fromStdString(layout_.leftTitle));
    chart_->yAxis2->setLabel(QString::fromStdString(layout_.rightTitle));
    addMarks();
    placeLegend();
    setTexts();
    prepareInfoHint();
    chart_->replot();
}

void AnalysisChart::bindSeries(const SeriesBinding& b) {
    ChartSeries& s = series_[static_cast<std::size_t>(b.series)];
    Table* table = analysis_->GetTable();
    if (!table) return;
    const int yf = table->fieldIndex(b.yField);
    const int xf = table->fieldIndex(b.xField);
    if (yf < 0) return;
    const int lf = b.labelField.empty() ? -1 : table->fieldIndex(b.labelField);
    const int ef = b.errorField.empty() ? -1 : table->fieldIndex(b.errorField);
    QVector<double> keys, values, errors;
    QVector<double> labelKeys;
    QVector<QString> labels;
    const std::size_t n = table->recordCount();
    keys.reserve(static_cast<int>(n));
    values.reserve(static_cast<int>(n));
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t row = table->rowOfRecord(i);
        double x = xf >= 0 ? fieldNumber(*table, xf, row) : static_cast<double>(i + 1);
        if (b.xIsDate) x = dayToPlotTime(static_cast<std::int32_t>(x));
        if (lf >= 0 && !b.xIsDate) {
            labelKeys.push_back(x);
            labels.push_back(fieldText(*table, lf, row, settings_.UserLocale));
        }
        // An empty value (a period without an estimate) leaves a gap.
        if (table->column(yf).isNull(row)) continue;
        keys.push_back(x);
        values.push_back(fieldNumber(*table, yf, row));
        if (ef >= 0) errors.push_back(table->column(ef).isNull(row) ? 0.0 : fieldNumber(*table, ef, row));
    }
    QCPAxis* valueAxis = b.axis == ChartAxis::Right ? chart_->yAxis2 : chart_->yAxis;
    if (s.bars) {
        s.bars->setValueAxis(valueAxis);
        s.bars->setData(keys, values, true);
    } else {
        s.graph->setValueAxis(valueAxis);
        s.graph->setData(keys, values, true);
        // Thousands of points: markers would merge into one band, and wide
        // smoothed lines cost more than they show.
        const bool dense = keys.size() > kMostMarkedPoints * 20;
        s.graph->setAntialiased(!dense);
        if (dense) {
            QPen pen = s.graph->pen();
            pen.setWidth(1);
            s.graph->setPen(pen);
        }
        if (dense && s.type == SeriesType::Line) s.graph->setScatterSkip(std::max(1, int(keys.size() / 200)));
        if (ef >= 0) {
            s.errorBars = new QCPErrorBars(chart_->xAxis, valueAxis);
            s.errorBars->setName(QString::fromStdString(b.errorField));
            s.errorBars->removeFromLegend();
            s.errorBars->setDataPlottable(s.graph);
            s.errorBars->setData(errors);
            // The colour of the points (a point series draws no line).
            const QPen marker = s.graph->scatterStyle().pen();
            QPen pen(s.type == SeriesType::Point ? marker.color() : s.graph->pen().color());
            pen.setWidthF(1.0);
            s.errorBars->setPen(pen);
            s.errorBars->setWhiskerWidth(8);
        }
    }
    QCPAbstractPlottable* p = s.plottable();
    p->setName(QString::fromStdString(b.title.empty() ? seriesCaption(b.yField, kind_) : b.title));
    s.marksVisible = b.marksVisible;
    s.field = b.yField;
    if (!labels.isEmpty()) setBottomLabels(b, labelKeys);
    if (!labels.isEmpty()) {
        auto ticker = qSharedPointerDynamicCast<RecordLabelTicker>(chart_->xAxis->ticker());
        if (!ticker) {
            ticker = QSharedPointer<RecordLabelTicker>::create();
            chart_->xAxis->setTicker(ticker);
        }
        for (int i = 0; i < labels.size(); ++i) ticker->addTick(labelKeys[i], labels[i]);
    }
    s.tag = 1;
    s.active = true;
    p->setVisible(true);
    p->addToLegend();
}

void AnalysisChart::addBands() {
    for (QCPGraph* g : bandGraphs_) chart_->removePlottable(g);
    bandGraphs_.clear();
    openBands_.clear();
    Table* table = analysis_->GetTable();
    if (!table) return;
    for (const SeriesBinding& b : layout_.series) {
        const ChartSeries& s = series_[static_cast<std::size_t>(b.series)];
        const int lo = table->fieldIndex(BandFieldName(b.yField, false));
        const int hi = table->fieldIndex(BandFieldName(b.yField, true));
        if (!s.graph || !s.active || lo < 0 || hi < 0) continue;
        if (!chart_->layer(QStringLiteral("bands")))
            chart_->addLayer(QStringLiteral("bands"), chart_->layer(QStringLiteral("grid")),
                             QCustomPlot::limAbove);
        const int xf = table->fieldIndex(b.xField);
        const int yf = table->fieldIndex(b.yField);
        QVector<double> keys, lower, upper;
        for (std::size_t i = 0; i < table->recordCount(); ++i) {
            const std::size_t row = table->rowOfRecord(i);
            // A row without its lower end (no finite replicate value) leaves
            // a gap. A row of the curve with the lower end but not the upper
            // one has a band open upwards (too many replicates put no event
            // that large, so the upper end is infinite, as for the return
            // period near the maximum magnitude): it reaches the top of the
            // axis (openBandEnds).
            if (table->column(lo).isNull(row)) continue;
            const bool open = table->column(hi).isNull(row);
            if (open && (yf < 0 || table->column(yf).isNull(row))) continue;
            double x = xf >= 0 ? fieldNumber(*table, xf, row) : static_cast<double>(i + 1);
            if (b.xIsDate) x = dayToPlotTime(static_cast<std::int32_t>(x));
            keys.push_back(x);
            lower.push_back(fieldNumber(*table, lo, row));
            upper.push_back(open ? std::numeric_limits<double>::quiet_NaN() : fieldNumber(*table, hi, row));
        }
        QColor edge = s.graph->pen().color();
        QColor fill = edge;
        fill.setAlpha(70);
        edge.setAlpha(140);
        QCPAxis* valueAxis = s.graph->valueAxis();
        QCPGraph* bottom = chart_->addGraph(chart_->xAxis, valueAxis);
        QCPGraph* top = chart_->addGraph(chart_->xAxis, valueAxis);
        for (QCPGraph* g : {bottom, top}) {
            g->setLayer(QStringLiteral("bands"));
            g->setPen(QPen(edge, 1, Qt::DotLine));
            g->setScatterStyle(QCPScatterStyle::ssNone);
            g->removeFromLegend();
            bandGraphs_.push_back(g);
        }
        bottom->setData(keys, lower, true);
        top->setData(keys, upper, true);
        if (std::any_of(upper.begin(), upper.end(), [](double v) { return std::isnan(v); }))
            openBands_.push_back({top, keys, upper});
        top->setBrush(QBrush(fill));
        top->setChannelFillGraph(bottom);
        top->setName(s.graph->name() + QStringLiteral(" (przedział ufności)"));
        top->addToLegend();
    }
}

void AnalysisChart::addMarks() {
    for (int i = chart_->itemCount() - 1; i >= 0; --i)
        if (chart_->item(i)->property("series").isValid()) chart_->removeItem(i);
    Table* table = analysis_->GetTable();
    // Bars of one group stand side by side: each mark over its own bar.
    std::vector<int> grouped;
    for (int i = 0; i < kSeriesCount; ++i) {
        const ChartSeries& s = series_[static_cast<std::size_t>(i)];
        if (s.bars && s.active && s.bars->barsGroup()) grouped.push_back(i);
    }
    for (int i = 0; i < kSeriesCount; ++i) {
        const ChartSeries& s = series_[static_cast<std::size_t>(i)];
        if (!s.active || !s.marksVisible || !table) continue;
        QCPAbstractPlottable* p = s.plottable();
        QVector<double> keys, values;
        if (s.bars)
            for (const QCPBarsData& d : *s.bars->data()) keys.push_back(d.key), values.push_back(d.value);
        else
            for (const QCPGraphData& d : *s.graph->data()) keys.push_back(d.key), values.push_back(d.value);
        if (keys.size() > kMostMarkedPoints) continue;
        double offset = 0.0;
        const auto at = std::find(grouped.begin(), grouped.end(), i);
        if (at != grouped.end()) {
            const double n = static_cast<double>(grouped.size());
            offset = (static_cast<double>(at - grouped.begin()) - (n - 1.0) / 2.0) * s.bars->width();
        }
        const int yf = table->fieldIndex(s.field);
        const std::string mask = !s.marksFormat.isEmpty() ? s.marksFormat.toStdString()
                                 : yf >= 0                ? table->field(yf).displayFormat
                                                          : std::string();
        for (int k = 0; k < keys.size(); ++k) {
            if (values[k] == 0.0) continue;
            auto* mark = new QCPItemText(chart_);
            mark->setClipToAxisRect(true);
            mark->position->setAxes(p->keyAxis(), p->valueAxis());
            mark->position->setCoords(keys[k] + offset, values[k]);
            mark->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            mark->setFont(s.marksFont);
            mark->setPadding(QMargins(0, 0, 0, s.marksSpan));
            mark->setText(QString::fromStdString(mask.empty()
                                                     ? formatGeneral(values[k], settings_.UserLocale)
                                                     : formatMask(values[k], mask, settings_.UserLocale)));
            mark->setProperty("series", i);
        }
    }
}

void AnalysisChart::setBottomLabels(const SeriesBinding&, const QVector<double>& keys) {
    if (keys.isEmpty()) return;
    const auto [lo, hi] = std::minmax_element(keys.begin(), keys.end());
    chart_->xAxis->setRange(*lo - 0.5, *hi + 0.5);
}

void AnalysisChart::setTexts() {
    const QString mainTitle = QString::fromStdString(settings_.MainTitle);
    const QString title = QString::fromStdString(analysis_->GetTitle());
    title_->setText(mainTitle.isEmpty() ? title : mainTitle + QLatin1Char('\n') + title);
    if (!layout_.note.empty())
        title_->setText(title_->text() + QLatin1Char('\n') + QString::fromStdString(layout_.note));
    if (!filterDescription_.isEmpty()) {
        footer_->setText(QStringLiteral("Filtr: ") + filterDescription_);
        footer_->setVisible(true);
    } else {
        footer_->setText({});
        footer_->setVisible(false);
    }
    setWindowTitle(withFilter(QString::fromStdString(windowCaptionTitle(kind_, analysis_->GetTitle()))));
}

QString AnalysisChart::withFilter(const QString& caption) const {
    return filterDescription_.isEmpty() ? caption : caption + QStringLiteral(" /") + filterDescription_;
}

QString AnalysisChart::titleText() const { return title_->text(); }
QString AnalysisChart::footerText() const { return footer_->visible() ? footer_->text() : QString(); }

void AnalysisChart::prepareInfoHint() {
    ReportLines report, section;
    analysis_->SetPrintMarkup(true);
    try {
        analysis_->WriteReport(report);
    } catch (...) {
        report.clear();
    }
    analysis_->SetPrintMarkup(false);
    ExtractReportSection(report, "<H3>", section);
    infoHint_ = QString::fromStdString(infoHintText(section));
    info_->setToolTip(infoHint_.split(QLatin1Char('|')).join(QString()));
}

}  // namespace zorv

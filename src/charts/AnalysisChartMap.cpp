// The hazard-map chart (ChartKind::HazardMap): the node values of one
// column as a colour grid over the plan, the located events as dots, the map
// box "Obszar", X and Y at one scale as on the location map.

#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "charts/AnalysisChart.h"
#include "charts/MapCharts.h"
#include "charts/PlanScale.h"
#include "spatial/HazardMap.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

const HazardMap* mapOf(const Database& a) { return dynamic_cast<const HazardMap*>(&a); }

// Tick labels at least this far apart [px], so that the numbers of the
// plan's co-ordinates (five digits and a sign) never run into each other.
constexpr int kTickSpacing = 70;

// The caption on the colour scale, in two lines where it is long: it runs
// along the scale, which is only as tall as the plot.
QString scaleTitle(const QString& caption) {
    constexpr int kLine = 34;
    if (caption.size() <= kLine) return caption;
    for (const QString& cut : {QStringLiteral(": "), QStringLiteral(" (")}) {
        const int at = caption.indexOf(cut, 8);
        if (at > 0 && at < caption.size() - 4) {
            const int keep = cut.startsWith(QLatin1Char(':')) ? at + 1 : at;
            return caption.left(keep) + QLatin1Char('\n') + caption.mid(at + 1).trimmed();
        }
    }
    const int space = caption.lastIndexOf(QLatin1Char(' '), kLine);
    return space > 0 ? caption.left(space) + QLatin1Char('\n') + caption.mid(space + 1) : caption;
}

}  // namespace

std::vector<std::string> mapChartColumns(const Database& analysis) {
    const HazardMap* map = mapOf(analysis);
    if (!map) return {};
    if (map->IsChangeMap()) return {"IlorazT", "Roznica_b", "p_LR"};
    std::vector<std::string> out;
    for (const std::string& c : map->ValueColumns())
        if (c != "b_sigma" && c != "bp_sigma" && c != "h") out.push_back(c);
    return out;
}

void AnalysisChart::buildMap(const std::string& column) {
    const HazardMap* map = mapOf(*analysis_);
    if (!map) return;
    kind_ = ChartKind::HazardMap;
    mapColumn_ = column;
    layout_ = chartLayout(kind_, *analysis_);
    layout_.bottomTitle = settings_.XField;
    layout_.leftTitle = settings_.YField;
    applyLayout();

    const MapGrid& g = map->Grid();
    const std::vector<double> values =
        map->ColumnValues(column).value_or(std::vector<double>(g.size(), kNoValue));
    const PlanScale scale = choosePlanScale(column, values);
    const bool logarithmic =
        scale.kind == PlanScaleKind::Logarithmic || scale.kind == PlanScaleKind::RatioDiverging;

    if (!colourMap_) {
        colourMap_ = new QCPColorMap(chart_->xAxis, chart_->yAxis);
        colourMap_->setName(QStringLiteral("Mapa"));
        colourMap_->removeFromLegend();
        colourMap_->setInterpolate(false);
        colourMap_->setTightBoundary(false);
        colourScale_ = new QCPColorScale(chart_);
        colourScale_->setType(QCPAxis::atRight);
        colourScale_->setBarWidth(14);
        colourScale_->axis()->setLabelFont(QFont(QStringLiteral("Arial"), 7, QFont::Bold));
        colourScale_->axis()->setTickLabelFont(QFont(QStringLiteral("Arial"), 7));
        colourMap_->setColorScale(colourScale_);
        // The scale stands right of the plot, as tall as the plot
        // (placeLegend puts it there).
        auto* margins = new QCPMarginGroup(chart_);
        chart_->axisRect()->setMarginGroup(QCP::msTop | QCP::msBottom, margins);
        colourScale_->setMarginGroup(QCP::msTop | QCP::msBottom, margins);

        mapEvents_ = chart_->addGraph(chart_->xAxis, chart_->yAxis);
        mapEvents_->setName(QStringLiteral("Zjawiska zlokalizowane"));
        mapEvents_->setLineStyle(QCPGraph::lsNone);
        mapEvents_->setScatterStyle(
            QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(20, 20, 20, 70), QColor(20, 20, 20, 70), 1.5));
        mapEvents_->setAntialiased(false);
        mapBox_ = new QCPItemRect(chart_);
        mapBox_->setObjectName(QStringLiteral("Obszar"));
        mapBox_->setPen(QPen(QColor(230, 200, 0), 2));
        mapBox_->setBrush(Qt::NoBrush);
        mapBox_->setVisible(false);
        chart_->setInteractions(QCP::iRangeZoom);
        connect(chart_, &QCustomPlot::afterLayout, this, &AnalysisChart::keepMapScale);
        connect(chart_, &QCustomPlot::mousePress, this,
                [this](QMouseEvent* e) { pressedAt_ = e->position(); });
        connect(chart_, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* e) {
            if (e->button() != Qt::LeftButton || (e->position() - pressedAt_).manhattanLength() > 3) return;
            const int node = mapNodeAt(e->position());
            if (node < 0) return;
            QToolTip::showText(e->globalPosition().toPoint(), mapNodeText(node), chart_);
            emit mapNodeClicked(node);
        });
    }
    auto* data = new QCPColorMapData(g.columns, g.rows, QCPRange(g.x0, g.x0 + g.cell * (g.columns - 1)),
                                     QCPRange(g.y0, g.y0 + g.cell * (g.rows - 1)));
    for (std::size_t node = 0; node < g.size(); ++node) {
        double v = values[node];
        if (logarithmic && !(v > 0.0)) v = kNoValue;
        data->setCell(static_cast<int>(node % g.columns), static_cast<int>(node / g.columns), v);
    }
    colourMap_->setData(data, false);
    colourMap_->setGradient(planGradient(scale.kind));
    colourMap_->setDataScaleType(logarithmic ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    colourMap_->setDataRange(QCPRange(scale.lower, scale.upper));
    QCPAxis* scaleAxis = colourScale_->axis();
    if (logarithmic)
        scaleAxis->setTicker(QSharedPointer<QCPAxisTickerLog>::create());
    else
        scaleAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    scaleAxis->setNumberFormat(logarithmic ? QStringLiteral("gb") : QStringLiteral("g"));
    const QString caption = QString::fromStdString(map->ColumnCaption(column));
    colourScale_->axis()->setLabel(scaleTitle(caption));

    const std::vector<PlanPoint>& events = map->Events();
    QVector<double> xs, ys;
    xs.reserve(static_cast<qsizetype>(events.size()));
    ys.reserve(static_cast<qsizetype>(events.size()));
    for (const PlanPoint& e : events) xs.push_back(e.x), ys.push_back(e.y);
    mapEvents_->setData(xs, ys, false);
    // The colour scale says what the colours are; the dots need no legend.
    mapEvents_->removeFromLegend();
    chart_->legend->setVisible(false);
    if (const auto& box = map->Parameters().grid.box) {
        mapBox_->topLeft->setCoords(std::min(box->x0, box->x1), std::max(box->y0, box->y1));
        mapBox_->bottomRight->setCoords(std::max(box->x0, box->x1), std::min(box->y0, box->y1));
        mapBox_->setVisible(true);
    }
    for (QCPAxis* a : {chart_->xAxis, chart_->yAxis}) {
        auto ticker = QSharedPointer<QCPAxisTicker>::create();
        ticker->setTickCount(4);
        a->setTicker(ticker);
        a->setNumberFormat(QStringLiteral("f"));
        a->setNumberPrecision(0);
    }
    const double half = g.cell / 2.0;
    mapFullX_ = QCPRange(g.x0 - half, g.x0 + g.cell * (g.columns - 1) + half);
    mapFullY_ = QCPRange(g.y0 - half, g.y0 + g.cell * (g.rows - 1) + half);
    chart_->xAxis->setRange(mapFullX_);
    chart_->yAxis->setRange(mapFullY_);
    chart_->axisRect()->setBackground(Qt::white);

    title_->setText(title_->text() + QLatin1Char('\n') + caption);
    setWindowTitle(withFilter(QString::fromStdString(kHazardMapCaption) + QStringLiteral(" — ") + caption));
    placeLegend();
    chart_->replot();
}

void AnalysisChart::keepMapScale() {
    const QRect r = chart_->axisRect()->rect();
    if (r.width() <= 0 || r.height() <= 0) return;
    // As many ticks as fit the side at kTickSpacing.
    for (QCPAxis* a : {chart_->xAxis, chart_->yAxis}) {
        const int side = a == chart_->xAxis ? r.width() : r.height();
        a->ticker()->setTickCount(std::clamp(side / kTickSpacing, 2, 8));
    }
    QCPAxis* x = chart_->xAxis;
    QCPAxis* y = chart_->yAxis;
    // Ranges other than the last ones set here were set by a zoom (or by
    // buildMap): they are the view to show. The view is fitted into the plot
    // afresh at every layout, the shorter side widened about its centre, so
    // that resizes and the labels' room never make the plan drift outwards.
    if (x->range() != mapAppliedX_ || y->range() != mapAppliedY_) {
        mapViewX_ = x->range();
        mapViewY_ = y->range();
    }
    const double units = std::max(mapViewX_.size() / r.width(), mapViewY_.size() / r.height());
    if (!(units > 0.0)) return;
    const QCPRange fx(mapViewX_.center() - units * r.width() / 2.0,
                      mapViewX_.center() + units * r.width() / 2.0);
    const QCPRange fy(mapViewY_.center() - units * r.height() / 2.0,
                      mapViewY_.center() + units * r.height() / 2.0);
    mapAppliedX_ = fx;
    mapAppliedY_ = fy;
    const auto same = [](const QCPRange& a, const QCPRange& b) {
        return std::abs(a.lower - b.lower) <= 1e-9 * a.size() &&
               std::abs(a.upper - b.upper) <= 1e-9 * a.size();
    };
    if (same(fx, x->range()) && same(fy, y->range())) {
        mapRescalings_ = 0;
        return;
    }
    x->setRange(fx);
    y->setRange(fy);
    mapAppliedX_ = x->range();
    mapAppliedY_ = y->range();
    // The ticks and the room for their labels were laid out for the old
    // ranges: laid out again at once, the labels' room with the next replot.
    chart_->axisRect()->update(QCPLayoutElement::upPreparation);
    if (++mapRescalings_ <= 3) chart_->replot(QCustomPlot::rpQueuedReplot);
}

void AnalysisChart::undoMapZoom() {
    chart_->xAxis->setRange(mapFullX_);
    chart_->yAxis->setRange(mapFullY_);
    chart_->replot();
}

int AnalysisChart::mapNodeAt(const QPointF& pixel) const {
    const HazardMap* map = mapOf(*analysis_);
    if (!map || !colourMap_ || !chart_->axisRect()->rect().contains(pixel.toPoint())) return -1;
    const MapGrid& g = map->Grid();
    const double x = chart_->xAxis->pixelToCoord(pixel.x()), y = chart_->yAxis->pixelToCoord(pixel.y());
    const long column = std::lround((x - g.x0) / g.cell), row = std::lround((y - g.y0) / g.cell);
    if (column < 0 || row < 0 || column >= g.columns || row >= g.rows) return -1;
    return static_cast<int>(row * g.columns + column);
}

QString AnalysisChart::mapNodeText(int node) const {
    const HazardMap* map = mapOf(*analysis_);
    Table* t = analysis_->GetTable();
    if (!map || !t || node < 0 || static_cast<std::size_t>(node) >= t->physicalCount()) return {};
    const Locale& loc = settings_.UserLocale;
    const auto row = static_cast<std::size_t>(node);
    const auto number = [&](const char* field) {
        const int f = t->fieldIndex(field);
        if (f < 0 || t->column(f).isNull(row)) return QStringLiteral("—");
        // Four significant digits are what a look at a node needs.
        const double v = t->column(f).numberAt(row);
        const double digits = v == 0.0 ? 0.0 : 3.0 - std::floor(std::log10(std::abs(v)));
        const double scale = std::pow(10.0, std::max(digits, 0.0));
        return QString::fromStdString(formatGeneral(std::round(v * scale) / scale, loc));
    };
    QStringList lines;
    lines << QStringLiteral("Węzeł %1: X = %2, Y = %3").arg(node + 1).arg(number("X"), number("Y"));
    lines << QStringLiteral("N = %1, promień = %2, próg = %3")
                 .arg(number("N"), number("Promien"), number("Prog"));
    for (const std::string& c : map->ValueColumns()) {
        const int f = t->fieldIndex(c);
        if (f < 0) continue;
        lines << QString::fromStdString(c) + QStringLiteral(" = ") + number(c.c_str());
    }
    const int note = t->fieldIndex("Opis");
    if (note >= 0 && !t->column(note).textAt(row).empty())
        lines << QString::fromStdString(t->column(note).textAt(row));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zorv

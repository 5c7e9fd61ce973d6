#include "charts/LocationMap.h"

#include <algorithm>
#include <cmath>

namespace zorv {

namespace {

// Distinct colours for the departments, repeated when there are more.
QColor seriesColour(int i) {
    static const QColor colours[] = {QColor(220, 30, 30), QColor(30, 110, 220), QColor(20, 150, 60),
                                     QColor(230, 140, 0), QColor(140, 50, 180), QColor(0, 160, 170),
                                     QColor(120, 80, 40), QColor(200, 60, 150), QColor(90, 90, 90),
                                     QColor(150, 170, 0)};
    return colours[i % static_cast<int>(std::size(colours))];
}

QCPRange padded(double lo, double hi) {
    if (!(hi > lo)) return {lo - 1, hi + 1};
    const double pad = (hi - lo) * 0.03;
    return {lo - pad, hi + pad};
}

}  // namespace

double dayToPlotTime(std::int32_t dayNumber) { return (static_cast<double>(dayNumber) - 25569.0) * 86400.0; }

LocationMap::LocationMap(QWidget* parent) : QCustomPlot(parent), rect_(new QCPItemRect(this)) {
    setObjectName(QStringLiteral("Map"));
    xAxis->setLabel(QStringLiteral("X"));
    yAxis->setLabel(QStringLiteral("Y"));
    legend->setVisible(true);
    legend->setFont(QFont(font().family(), 8));
    rect_->setObjectName(QStringLiteral("Obszar"));
    rect_->setPen(QPen(QColor(230, 200, 0), 2));
    rect_->setBrush(Qt::NoBrush);
    rect_->setVisible(false);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setNoAntialiasingOnDrag(true);
    // A plan must not be stretched: once the layout has placed the axis
    // rectangle (every replot, so after a zoom and a resize too), the axis
    // that would show more units per pixel than the other keeps its range
    // and the other widens about its centre.
    connect(this, &QCustomPlot::afterLayout, this, &LocationMap::keepEqualScale);
}

void LocationMap::keepEqualScale() {
    const QRect r = axisRect()->rect();
    if (r.width() <= 0 || r.height() <= 0) return;
    const double ux = xAxis->range().size() / r.width(), uy = yAxis->range().size() / r.height();
    if (!(ux > 0) || !(uy > 0) || std::abs(ux - uy) <= 1e-9 * std::max(ux, uy)) {
        rescalings_ = 0;
        return;
    }
    if (ux < uy)
        xAxis->setRange(xAxis->range().center(), uy * r.width(), Qt::AlignCenter);
    else
        yAxis->setRange(yAxis->range().center(), ux * r.height(), Qt::AlignCenter);
    // The ticks and the room for their labels were laid out for the old
    // ranges: the widened part would have no labels (negative ones among
    // them). The ticks are laid out again at once, and the labels' room with
    // the next replot; a few rounds at most, as wider labels narrow the plot.
    axisRect()->update(QCPLayoutElement::upPreparation);
    if (++rescalings_ <= 3) replot(QCustomPlot::rpQueuedReplot);
}

double LocationMap::unitsPerPixel(const QCPAxis* axis) const {
    const QRect r = axisRect()->rect();
    const int pixels = axis->orientation() == Qt::Horizontal ? r.width() : r.height();
    return pixels > 0 ? axis->range().size() / pixels : 0.0;
}

void LocationMap::generate(const std::vector<DepartmentPoints>& departments) {
    clearGraphs();
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool any = false;
    for (std::size_t i = 0; i < departments.size(); ++i) {
        const DepartmentPoints& d = departments[i];
        QCPGraph* g = addGraph();
        g->setName(QString::fromStdString(d.name));
        g->setLineStyle(QCPGraph::lsNone);
        const QColor c = seriesColour(static_cast<int>(i));
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, c, c, 2));
        g->setPen(QPen(c));
        // A graph keeps its points sorted by X, which lets it thin out the
        // points that fall on one pixel when it draws a large catalogue.
        QVector<double> xs(d.x.begin(), d.x.end()), ys(d.y.begin(), d.y.end());
        g->setData(xs, ys, false);
        const auto [x0, x1] = std::minmax_element(d.x.begin(), d.x.end());
        const auto [y0, y1] = std::minmax_element(d.y.begin(), d.y.end());
        if (!any) {
            minX = *x0, maxX = *x1, minY = *y0, maxY = *y1;
            any = true;
        } else {
            minX = std::min(minX, *x0), maxX = std::max(maxX, *x1);
            minY = std::min(minY, *y0), maxY = std::max(maxY, *y1);
        }
    }
    fullX_ = any ? padded(minX, maxX) : QCPRange(0, 1);
    fullY_ = any ? padded(minY, maxY) : QCPRange(0, 1);
    if (zoneShown()) {
        showZone(zone_);
    } else {
        xAxis->setRange(fullX_);
        yAxis->setRange(fullY_);
    }
    replot(QCustomPlot::rpQueuedReplot);
}

QRectF LocationMap::visibleArea() const {
    const QCPRange x = xAxis->range(), y = yAxis->range();
    return QRectF(QPointF(x.lower, y.lower), QPointF(x.upper, y.upper));
}

void LocationMap::zoomTo(double percent) {
    // Showing 125 % means the ranges shrink to 1 / 1.25 about the centre.
    xAxis->scaleRange(1.0 / percent, xAxis->range().center());
    yAxis->scaleRange(1.0 / percent, yAxis->range().center());
    replot(QCustomPlot::rpQueuedReplot);
}

void LocationMap::undoZoom() {
    xAxis->setRange(fullX_);
    yAxis->setRange(fullY_);
    replot(QCustomPlot::rpQueuedReplot);
}

void LocationMap::showZone(const QRectF& area) {
    zone_ = area.normalized();
    rect_->topLeft->setCoords(zone_.left(), zone_.bottom());
    rect_->bottomRight->setCoords(zone_.right(), zone_.top());
    rect_->setVisible(true);
    xAxis->setRange(zone_.left(), zone_.right());
    yAxis->setRange(zone_.top(), zone_.bottom());
    // A little more than the zone, so that its edges can be seen.
    zoomTo(0.95);
}

void LocationMap::hideZone() {
    rect_->setVisible(false);
    zone_ = {};
    replot(QCustomPlot::rpQueuedReplot);
}

bool LocationMap::zoneShown() const { return rect_->visible(); }

void LocationMap::setInverted(bool x, bool y) {
    xAxis->setRangeReversed(x);
    yAxis->setRangeReversed(y);
    replot(QCustomPlot::rpQueuedReplot);
}

void LocationMap::hideSecondSeries() {
    if (graphCount() > 0) graph(0)->setVisible(false);
    replot(QCustomPlot::rpQueuedReplot);
}

TimeChart::TimeChart(QWidget* parent) : QCustomPlot(parent) {
    setObjectName(QStringLiteral("TimeGraph"));
    auto dates = QSharedPointer<QCPAxisTickerDateTime>::create();
    dates->setDateTimeFormat(QStringLiteral("yyyy-MM-dd"));
    dates->setDateTimeSpec(Qt::UTC);
    xAxis->setTicker(dates);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeZoom(Qt::Horizontal);
    axisRect()->setRangeDrag(Qt::Horizontal);
}

void TimeChart::generate(const std::vector<DepartmentPoints>& departments) {
    clearGraphs();
    auto labels = QSharedPointer<QCPAxisTickerText>::create();
    double first = 0, last = 0;
    for (std::size_t k = 0; k < departments.size(); ++k) {
        const DepartmentPoints& d = departments[k];
        QCPGraph* g = addGraph();
        g->setName(QString::fromStdString(d.name));
        g->setLineStyle(QCPGraph::lsNone);
        const QColor c = seriesColour(static_cast<int>(k));
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, c, c, 2));
        QVector<double> keys, values;
        keys.reserve(static_cast<qsizetype>(d.days.size()));
        for (std::int32_t day : d.days) keys.push_back(dayToPlotTime(day));
        values.fill(static_cast<double>(k), keys.size());
        g->setData(keys, values, true);
        labels->addTick(static_cast<double>(k), g->name());
        if (!d.days.empty()) {
            const double a = dayToPlotTime(d.days.front()), b = dayToPlotTime(d.days.back());
            first = k == 0 ? a : std::min(first, a);
            last = k == 0 ? b : std::max(last, b);
        }
    }
    yAxis->setTicker(labels);
    yAxis->setRange(-1, static_cast<double>(departments.size()));
    if (!departments.empty()) xAxis->setRange(padded(first, last));
    replot(QCustomPlot::rpQueuedReplot);
}

}  // namespace zorv

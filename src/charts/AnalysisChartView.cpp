// The view of a chart: zoom and its animation, where the legend stands, the
// background with its gradient, and the minor ticks of the axes.

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>
#include <algorithm>

#include "charts/AnalysisChart.h"
#include "charts/MaskTicker.h"

namespace zorv {

namespace {

constexpr int kZoomSteps = 20;

}  // namespace

bool AnalysisChart::zoomEnabled() const { return zoomAllowed_; }

void AnalysisChart::setupZoom(const ChartOptions& o) {
    animated_ = o.animations;
    zoomAllowed_ = layout_.barChart ? !o.blockBarZoom : o.zoom;
    chart_->setSelectionRectMode(zoomAllowed_ ? QCP::srmCustom : QCP::srmNone);
    disconnect(chart_->selectionRect(), nullptr, this, nullptr);
    if (!zoomAllowed_) return;
    // A rectangle drawn left to right zooms into it; right to left undoes
    // the zoom.
    connect(
        chart_->selectionRect(), &QCPSelectionRect::accepted, this, [this](const QRect& r, QMouseEvent* e) {
            const bool undo = e->pos().x() < r.normalized().left() + 1 && r.width() < 0;
            // On a map a click picks a node; only a rectangle drawn right to
            // left undoes the zoom there.
            if (colourMap_ && !undo && r.normalized().width() < 3) return;
            if (colourMap_ && undo) return undoMapZoom();
            if (undo || r.normalized().width() < 3) {
                const auto saved = chart_->property("zorvRanges").toList();
                if (saved.size() == 4)
                    animateTo({saved[0].toDouble(), saved[1].toDouble()},
                              {saved[2].toDouble(), saved[3].toDouble()});
                return;
            }
            if (!chart_->property("zorvRanges").isValid())
                chart_->setProperty("zorvRanges",
                                    QVariantList{chart_->xAxis->range().lower, chart_->xAxis->range().upper,
                                                 chart_->yAxis->range().lower, chart_->yAxis->range().upper});
            const QRect n = r.normalized();
            const QCPRange x(chart_->xAxis->pixelToCoord(n.left()), chart_->xAxis->pixelToCoord(n.right()));
            const QCPRange y(chart_->yAxis->pixelToCoord(n.bottom()), chart_->yAxis->pixelToCoord(n.top()));
            animateTo(x, y);
        });
}

void AnalysisChart::animateTo(const QCPRange& x, const QCPRange& y) {
    if (!animated_) {
        chart_->xAxis->setRange(x);
        chart_->yAxis->setRange(y);
        chart_->replot();
        return;
    }
    const QCPRange x0 = chart_->xAxis->range(), y0 = chart_->yAxis->range();
    auto* anim = new QVariantAnimation(this);
    anim->setStartValue(0);
    anim->setEndValue(kZoomSteps);
    anim->setDuration(kZoomSteps * 15);
    connect(anim, &QVariantAnimation::valueChanged, this, [=, this](const QVariant& v) {
        const double t = v.toDouble() / kZoomSteps;
        chart_->xAxis->setRange(x0.lower + (x.lower - x0.lower) * t, x0.upper + (x.upper - x0.upper) * t);
        chart_->yAxis->setRange(y0.lower + (y.lower - y0.lower) * t, y0.upper + (y.upper - y0.upper) * t);
        chart_->replot();
    });
    anim->start(QAbstractAnimation::DeleteWhenStopped);
}

void AnalysisChart::setLegendPosition(int position) {
    legendPosition = position >= 0 && position <= 3 ? position : 1;
    placeLegend();
}

void AnalysisChart::placeLegend() {
    QCPAxisRect* rect = chart_->axisRect();
    QCPLegend* legend = chart_->legend;
    for (QCPLayoutElement* e :
         {static_cast<QCPLayoutElement*>(rect), static_cast<QCPLayoutElement*>(legendCell_)})
        body_->take(e);
    if (colourScale_ && colourScale_->layout() == body_) body_->take(colourScale_);
    body_->simplify();
    // The legend cell: the legend between two spacers; beside the plot the
    // top spacer takes the legend's top position in percent.
    for (int i = 0; i < legendCell_->elementCount(); ++i) {
        QCPLayoutElement* e = legendCell_->takeAt(i);
        if (e && e != legend) delete e;
    }
    legendCell_->simplify();
    const bool beside = legendPosition <= 1;
    const double top = std::clamp(legendTopPercent, 0.0, 100.0);
    legend->setMaximumSize(legend->minimumOuterSizeHint());
    auto* before = new QCPLayoutElement(chart_);
    auto* after = new QCPLayoutElement(chart_);
    legendCell_->setFillOrder(beside ? QCPLayoutGrid::foRowsFirst : QCPLayoutGrid::foColumnsFirst);
    legendCell_->addElement(before);
    legendCell_->addElement(legend);
    legendCell_->addElement(after);
    if (beside) {
        legendCell_->setRowStretchFactors({std::max(top, 0.01), 0.01, std::max(100.0 - top, 0.01)});
        body_->addElement(0, legendPosition == 0 ? 1 : 0, rect);
        body_->addElement(0, legendPosition == 0 ? 0 : 1, legendCell_);
        body_->setColumnStretchFactors(legendPosition == 0 ? QList<double>{0.01, 1} : QList<double>{1, 0.01});
        body_->setRowStretchFactors({1});
    } else {
        legendCell_->setColumnStretchFactors({1, 0.01, 1});
        body_->addElement(legendPosition == 2 ? 1 : 0, 0, rect);
        body_->addElement(legendPosition == 2 ? 0 : 1, 0, legendCell_);
        body_->setRowStretchFactors(legendPosition == 2 ? QList<double>{0.01, 1} : QList<double>{1, 0.01});
        body_->setColumnStretchFactors({1});
    }
    // A map's colour scale stands right of everything, in the plot's row.
    if (colourScale_) {
        if (colourScale_->layout()) colourScale_->layout()->take(colourScale_);
        const int row = legendPosition == 2 ? 1 : 0;
        const int column = body_->columnCount();
        body_->addElement(row, column, colourScale_);
        QList<double> factors = body_->columnStretchFactors();
        factors[column] = 0.01;
        body_->setColumnStretchFactors(factors);
    }
}

void AnalysisChart::placeLegendShadow() {
    const QCPLegend* legend = chart_->legend;
    const double size = legendShadowSize;
    const bool shown = legend->visible() && size > 0.0 && legend->outerRect().isValid();
    legendShadow_->setVisible(shown);
    if (!shown) return;
    const QRectF r = QRectF(legend->outerRect()).translated(size, size);
    legendShadow_->topLeft->setCoords(r.topLeft());
    legendShadow_->bottomRight->setCoords(r.bottomRight());
    legendShadow_->setBrush(toQColor(legendShadowColour));
}

void AnalysisChart::setBackColour(std::uint32_t c) {
    backColour_ = c;
    chart_->axisRect()->setBackground(toQColor(c));
}

void AnalysisChart::setPanelColour(std::uint32_t c) {
    panelColour_ = c;
    applyBackground();
}

void AnalysisChart::applyBackground() {
    if (!gradientVisible) {
        chart_->setBackground(toQColor(panelColour_));
        return;
    }
    // Directions: bottom to top, top to bottom, right to left, left to
    // right, from the centre, from a corner.
    const QSize s = chart_->size();
    QGradient* g = nullptr;
    QLinearGradient linear;
    QRadialGradient radial;
    switch (gradientDirection) {
        case 0: linear = QLinearGradient(0, s.height(), 0, 0); break;
        case 1: linear = QLinearGradient(0, 0, 0, s.height()); break;
        case 2: linear = QLinearGradient(s.width(), 0, 0, 0); break;
        case 3: linear = QLinearGradient(0, 0, s.width(), 0); break;
        case 4:
            radial =
                QRadialGradient(s.width() / 2.0, s.height() / 2.0, std::max(s.width(), s.height()) / 2.0);
            break;
        default: linear = QLinearGradient(0, 0, s.width(), s.height()); break;
    }
    g = gradientDirection == 4 ? static_cast<QGradient*>(&radial) : static_cast<QGradient*>(&linear);
    g->setColorAt(0, toQColor(gradientStart));
    g->setColorAt(1, toQColor(gradientEnd));
    QPixmap pm(s.isEmpty() ? QSize(1, 1) : s);
    pm.fill(Qt::transparent);
    QPainter painter(&pm);
    painter.fillRect(pm.rect(), QBrush(*g));
    painter.end();
    chart_->setBackground(pm, true, Qt::IgnoreAspectRatio);
}

int AnalysisChart::minorTickCount(ChartAxis a) const {
    const auto t = axis(a)->ticker();
    if (auto m = qSharedPointerDynamicCast<MaskTicker>(t)) return m->minorTickCount();
    if (auto m = qSharedPointerDynamicCast<LogMaskTicker>(t)) return m->minorTickCount();
    if (auto m = qSharedPointerDynamicCast<RecordLabelTicker>(t)) return m->minorTickCount();
    if (auto m = qSharedPointerDynamicCast<DateTicker>(t)) return m->minorTickCount();
    return -1;
}

void AnalysisChart::setMinorTickCount(ChartAxis a, int n) {
    const auto t = axis(a)->ticker();
    if (auto m = qSharedPointerDynamicCast<MaskTicker>(t)) m->setMinorTickCount(n);
    if (auto m = qSharedPointerDynamicCast<LogMaskTicker>(t)) m->setMinorTickCount(n);
    if (auto m = qSharedPointerDynamicCast<RecordLabelTicker>(t)) m->setMinorTickCount(n);
    if (auto m = qSharedPointerDynamicCast<DateTicker>(t)) m->setMinorTickCount(n);
}

}  // namespace zorv

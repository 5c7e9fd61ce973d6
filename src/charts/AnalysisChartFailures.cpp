// The failure markers of a chart: where an analysis has no estimate for a
// row (a period or zone whose estimator failed), the chart shows that row
// at the bottom of the value axis instead of leaving a silent gap.

#include <cmath>

#include "analysis/Database.h"
#include "charts/AnalysisChart.h"

namespace zorv {

namespace {
constexpr int kMarkerSize = 9;           // [px]
constexpr double kPickDistance = 7.0;    // [px]
const QColor kFailureColour(200, 0, 0);  // dark red
}  // namespace

void AnalysisChart::addFailureMarkers() {
    for (QCPItemTracer* t : failureItems_) chart_->removeItem(t);
    failureItems_.clear();
    failures_.clear();
    if (failureLegend_) chart_->removePlottable(failureLegend_);
    failureLegend_ = nullptr;
    Table* table = analysis_->GetTable();
    if (!table) return;
    for (const SeriesBinding& b : layout_.series) {
        if (b.failureField.empty()) continue;
        const int yf = table->fieldIndex(b.yField);
        const int ff = table->fieldIndex(b.failureField);
        const int xf = table->fieldIndex(b.xField);
        if (yf < 0 || ff < 0) continue;
        QCPAxis* valueAxis = b.axis == ChartAxis::Right ? chart_->yAxis2 : chart_->yAxis;
        for (std::size_t i = 0; i < table->recordCount(); ++i) {
            const std::size_t row = table->rowOfRecord(i);
            if (!table->column(yf).isNull(row)) continue;
            const std::string reason = table->column(ff).textAt(row);
            if (reason.empty()) continue;
            const double x = xf >= 0 ? table->column(xf).numberAt(row) : static_cast<double>(i + 1);
            failures_.push_back({x, QString::fromStdString(reason)});
            auto* t = new QCPItemTracer(chart_);
            t->setStyle(QCPItemTracer::tsSquare);
            t->setSize(kMarkerSize);
            t->setPen(QPen(kFailureColour, 1.5));
            t->setBrush(QBrush(kFailureColour.lighter(160)));
            t->setClipToAxisRect(false);
            t->setSelectable(false);
            t->position->setAxes(chart_->xAxis, valueAxis);
            t->position->setAxisRect(chart_->axisRect());
            t->position->setTypeX(QCPItemPosition::ptPlotCoords);
            t->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
            t->position->setCoords(x, 1.0);
            failureItems_.push_back(t);
        }
    }
    if (failures_.empty()) return;
    // The legend entry: a graph without data in the markers' style.
    failureLegend_ = chart_->addGraph(chart_->xAxis, chart_->yAxis);
    failureLegend_->setLineStyle(QCPGraph::lsNone);
    failureLegend_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, QPen(kFailureColour, 1.5),
                                                    QBrush(kFailureColour.lighter(160)), kMarkerSize));
    failureLegend_->setName(QStringLiteral("Brak estymacji: %1").arg(failures_.size()));
    failureLegend_->addToLegend();
}

QString AnalysisChart::failureAt(const QPointF& pixel) const {
    // The nearest marker within reach: markers of neighbouring rows may
    // stand closer than the reach on a narrow chart.
    double best = kPickDistance;
    QString reason;
    for (std::size_t k = 0; k < failureItems_.size(); ++k) {
        const QPointF at = failureItems_[k]->position->pixelPosition();
        const double d = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
        if (d <= best) {
            best = d;
            reason = failures_[k].reason;
        }
    }
    return reason;
}

}  // namespace zorv

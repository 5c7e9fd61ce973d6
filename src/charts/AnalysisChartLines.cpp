// The lines a time-variation chart lays over its bound series: the level
// of a threshold (MMin beside the completeness magnitude) and the markers of
// the events at or above a magnitude.

#include <QPen>
#include <algorithm>
#include <cmath>

#include "analysis/Database.h"
#include "charts/AnalysisChart.h"
#include "charts/LocationMap.h"
#include "text/NumberFormat.h"

namespace zorv {

void AnalysisChart::showLevelLine(double value, const QString& title) {
    bool found = false;
    QCPRange keys;
    for (const ChartSeries& s : series_)
        if (s.active && s.graph) {
            bool has = false;
            const QCPRange r = s.graph->getKeyRange(has);
            if (!has) continue;
            keys = found ? QCPRange(std::min(keys.lower, r.lower), std::max(keys.upper, r.upper)) : r;
            found = true;
        }
    if (!found || !std::isfinite(value)) return;
    // A series no time-variation chart binds, drawn as a plain dashed line.
    ChartSeries& s = series_[static_cast<std::size_t>(seriesIndex("Series9"))];
    QPen pen = s.graph->pen();
    pen.setStyle(Qt::DashLine);
    s.graph->setPen(pen);
    s.graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    s.graph->setValueAxis(chart_->yAxis);
    s.graph->setData({keys.lower, keys.upper}, {value, value});
    s.graph->setName(title);
    s.field.clear();
    s.tag = 1;
    s.active = true;
    s.graph->setVisible(true);
    s.graph->addToLegend();
    if (axisAutomatic(ChartAxis::Left)) fitAxis(ChartAxis::Left);
    placeLegend();
    chart_->replot();
}

void AnalysisChart::showEventMarkers(double magnitude) {
    Table* sample = analysis_->dataset();
    if (!sample) return;
    const int dates = sample->fieldIndex(settings_.DateField);
    if (dates < 0) return;
    ChartSeries& s = series_[static_cast<std::size_t>(seriesIndex("Series12"))];
    const double top = chart_->yAxis->range().upper;
    QVector<double> keys, values;
    for (std::size_t row = 0; row < sample->physicalCount(); ++row) {
        if (!(analysis_->ReadMagnitude(row) >= magnitude)) continue;
        keys.push_back(
            dayToPlotTime(static_cast<std::int32_t>(std::floor(sample->column(dates).numberAt(row)))));
        values.push_back(top);
    }
    s.graph->setValueAxis(chart_->yAxis);
    s.graph->setData(keys, values);
    s.graph->setName(QString::fromStdString(eventMarkerTitle(magnitude, settings_)));
    s.field.clear();
    s.tag = 1;
    s.active = true;
    s.graph->setVisible(true);
    s.graph->addToLegend();
    placeLegend();
    chart_->replot();
}

}  // namespace zorv

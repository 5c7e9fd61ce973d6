#include "charts/AnalysisCharts.h"

#include <QLayout>

#include "charts/MapCharts.h"

namespace zorv {

namespace {

std::unique_ptr<AnalysisChart> sized(std::unique_ptr<AnalysisChart> w, QSize size) {
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->resize(size);
    // The layout places the chart below the "Info" row, as in the window.
    if (QLayout* l = w->QWidget::layout()) {
        l->activate();
        l->setGeometry(QRect(QPoint(0, 0), size));
    }
    return w;
}

}  // namespace

std::vector<std::unique_ptr<AnalysisChart>> buildAnalysisCharts(
    std::shared_ptr<Database> analysis, const AnalysisEntry& entry, const AnalysisRequest& request,
    const AnalysisSettings& settings, const QString& filterDescription, QSize size) {
    std::vector<std::unique_ptr<AnalysisChart>> charts;
    if (entry.chartKind == ChartKind::HazardMap) {
        for (const std::string& column : mapChartColumns(*analysis)) {
            auto w = std::make_unique<AnalysisChart>(analysis, settings, entry.chartKind, filterDescription);
            w->buildMap(column);
            charts.push_back(sized(std::move(w), size));
        }
        return charts;
    }
    if (entry.parameters != AnalysisParameters::TimeVariations) {
        auto w = std::make_unique<AnalysisChart>(analysis, settings, entry.chartKind, filterDescription);
        w->build();
        charts.push_back(sized(std::move(w), size));
        return charts;
    }
    const TimeVariationsParameters& p = request.timeVariations;
    for (const TimeVariationsChart& c : TimeVariationsCharts(p)) {
        auto w =
            std::make_unique<AnalysisChart>(analysis, settings, ChartKind::TimeVariations, filterDescription);
        w->buildTimeVariation(c.quantity, c.activity);
        if (c.markEvents) w->showEventMarkers(c.quantity == 1 ? p.returnMagnitude : p.hazardMagnitude);
        charts.push_back(sized(std::move(w), size));
    }
    return charts;
}

}  // namespace zorv

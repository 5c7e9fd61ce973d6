#include "chart/AnalysisCharts.h"

#include <QLayout>

namespace zorv {

namespace {

std::unique_ptr<TfmGraph> sized(std::unique_ptr<TfmGraph> w, QSize size) {
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

std::vector<std::unique_ptr<TfmGraph>> buildAnalysisCharts(std::shared_ptr<Database> analysis,
                                                           const AnalysisEntry& entry,
                                                           const AnalysisRequest& request,
                                                           const AnalysisSettings& settings,
                                                           const QString& filterDescription, QSize size) {
    std::vector<std::unique_ptr<TfmGraph>> charts;
    if (entry.parameters != AnalysisParameters::TimeVariations) {
        auto w =
            std::make_unique<TfmGraph>(analysis, settings, entry.chartKind, filterDescription, nullptr, 0);
        w->build();
        charts.push_back(sized(std::move(w), size));
        return charts;
    }
    const TimeVariationsParameters& p = request.timeVariations;
    for (const TimeVariationsChart& c : TimeVariationsCharts(p)) {
        auto w = std::make_unique<TfmGraph>(analysis, settings, 15, filterDescription, nullptr, 0);
        w->buildTimeVariation(c.quantity, c.activity);
        if (c.markEvents) w->showEventMarkers(c.quantity == 1 ? p.returnMagnitude : p.hazardMagnitude);
        charts.push_back(sized(std::move(w), size));
    }
    return charts;
}

}  // namespace zorv

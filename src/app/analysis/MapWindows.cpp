// The windows of a hazard map: one map window per drawn column in one
// result-window slot, and the recurrence graph of a node's sample that a
// click on the node opens.

#include "analysis/ActivityHistogram.h"
#include "analysis/AnalysisCommands.h"
#include "charts/MapCharts.h"
#include "hazard/HazardAnalysis.h"
#include "services/CatalogueSession.h"
#include "services/ShellInterface.h"
#include "services/UserDialogs.h"
#include "services/WindowSlots.h"
#include "spatial/HazardMap.h"

namespace zorv {

namespace {

// The node's events copied out of the map's frozen sample, and their
// recurrence graph: both live as long as the graph's windows.
struct NodeHistogram {
    std::unique_ptr<Table> sample;
    std::unique_ptr<Database> analysis;
};

}  // namespace

TfmGraph* AnalysisCommands::openMapCharts(std::shared_ptr<Database> analysis) {
    const int slot = shell_.windowSlots().freeSlot();
    TfmGraph* last = nullptr;
    for (const std::string& column : mapChartColumns(*analysis)) {
        TfmGraph* w =
            openChart(analysis, ChartKind::HazardMap, slot, [&column](TfmGraph& g) { g.buildMap(column); });
        connect(w, &AnalysisChart::mapNodeClicked, this,
                [this, w](int node) { openNodeHistogram(*w, node); });
        last = w;
    }
    return last;
}

TfmGraph* AnalysisCommands::openNodeHistogram(const TfmGraph& map, int node) {
    const auto* hazardMap = dynamic_cast<const HazardMap*>(&map.analysis());
    if (!hazardMap || node < 0 || static_cast<std::size_t>(node) >= hazardMap->Grid().size()) return nullptr;
    const Table* source = hazardMap->dataset();
    const std::vector<std::uint32_t> rows = hazardMap->NodeRows(static_cast<std::size_t>(node));
    if (!source || rows.empty()) {
        shell_.dialogs().information(QStringLiteral("Mapa zagrożenia"),
                                     QStringLiteral("Węzeł nie ma zjawisk w swojej próbie."));
        return nullptr;
    }
    auto holder = std::make_shared<NodeHistogram>();
    holder->sample = std::make_unique<Table>(source->fields());
    holder->sample->setName(source->name());
    holder->sample->setLocale(source->locale());
    std::vector<Value> record(source->fields().size());
    for (std::uint32_t row : rows) {
        for (int f = 0; f < source->fieldCount(); ++f)
            record[static_cast<std::size_t>(f)] = source->value(row, f);
        holder->sample->appendRecord(record);
    }
    holder->sample->first();
    try {
        holder->analysis =
            std::make_unique<ActivityHistogram>(shell_.analysisSettings(), holder->sample.get());
    } catch (...) {
        const HazardFailureMessage m = DescribeHazardFailure(std::current_exception());
        showProblem(shell_.dialogs(), QString::fromStdString(m.text));
        return nullptr;
    }
    TfmGraph* w = openChart(std::shared_ptr<Database>(holder, holder->analysis.get()), ChartKind::Histogram);
    const MapGrid& g = hazardMap->Grid();
    const Locale& loc = shell_.analysisSettings().UserLocale;
    const auto n = static_cast<std::size_t>(node);
    w->setWindowTitle(w->windowTitle() + QStringLiteral(" — węzeł %1 (X = %2, Y = %3, N = %4)")
                                             .arg(node + 1)
                                             .arg(QString::fromStdString(formatGeneral(g.x(n), loc)),
                                                  QString::fromStdString(formatGeneral(g.y(n), loc)))
                                             .arg(rows.size()));
    return w;
}

}  // namespace zorv

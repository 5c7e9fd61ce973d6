// Opens a catalogue in the main window, runs the hazard map of every
// quantity and the change map between the two halves of its span, and saves
// a picture of each map window (map-<column>.png, in a small and a large
// window), of the map dialog (dialog-hazard-map.png), of the recurrence
// graph a click on a node opens (map-node-histogram.png) and of the whole
// main window with a map in it (map-main-window.png). Used by
// tools/map_screenshots.sh under a virtual X server.
//
//   map_shots CATALOGUE OUTPUT_DIR

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

#include "ShotShell.h"
#include "analysis/AnalysisCommands.h"
#include "catalogue/TfmBaseCheck.h"
#include "chart/TfmGraph.h"
#include "charts/MapCharts.h"
#include "hazard/TfmHazardMap.h"
#include "services/UserDialogs.h"
#include "shell/TfmZorv.h"
#include "spatial/HazardMap.h"

using namespace zorv;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: map_shots CATALOGUE OUTPUT_DIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    ShotShell shell;
    if (!shell.open(QString::fromLocal8Bit(argv[1]))) return 1;
    TfmZorv& window = shell.window;
    AnalysisCommands& commands = window.analysisCommands();
    const auto settle = [&app] {
        for (int i = 0; i < 6; ++i) app.processEvents();
    };
    const auto save = [&out](QWidget& w, const QString& name) {
        const QString path = QDir(out).filePath(name + QStringLiteral(".png"));
        w.grab().save(path);
        std::printf("saved %s\n", path.toLocal8Bit().constData());
    };

    TfmHazardMap& dialog = commands.hazardMapDialog();
    dialog.prepare(HazardMapParameters{}, 36526, 38717);
    dialog.show();
    settle();
    save(dialog, QStringLiteral("dialog-hazard-map"));
    dialog.hide();

    const AnalysisEntry& entry = *findAnalysis("hazard-map");
    std::vector<AnalysisRequest> runs;
    const std::string located = window.preferences().X + window.preferences().LocationFilter;
    {
        AnalysisRequest r;
        r.hazardMap.locationExpression = located;
        r.hazardMap.quantities.clear();
        for (const MapQuantityInfo& q : mapQuantities()) r.hazardMap.quantities.push_back(q.quantity);
        runs.push_back(r);
        AnalysisRequest change;
        change.hazardMap.locationExpression = located;
        change.hazardMap.before = DayPeriod{36526, 37621};  // 2000-01-01 … 2002-12-31
        change.hazardMap.after = DayPeriod{37622, 38717};   // 2003-01-01 … 2005-12-31
        runs.push_back(change);
    }
    bool histogramSaved = false;
    for (const AnalysisRequest& r : runs) {
        QElapsedTimer clock;
        clock.start();
        std::shared_ptr<Database> analysis = commands.compute(entry, r);
        std::printf("map of %zu quantities computed in %lld ms\n", r.hazardMap.quantities.size(),
                    static_cast<long long>(clock.elapsed()));
        if (!analysis) continue;
        for (const std::string& column : mapChartColumns(*analysis)) {
            clock.restart();
            TfmGraph* g = commands.openChart(analysis, ChartKind::HazardMap);
            g->buildMap(column);
            settle();
            std::printf("  %s drawn in %lld ms\n", column.c_str(), static_cast<long long>(clock.elapsed()));
            auto* frame = qobject_cast<QMdiSubWindow*>(g->parentWidget());
            const QString name = QStringLiteral("map-") + QString::fromStdString(column);
            frame->resize(420, 330);
            settle();
            save(*g, name + QStringLiteral("-small"));
            frame->resize(900, 600);
            settle();
            save(*g, name);
            if (!histogramSaved && column == "b") {
                save(window, QStringLiteral("map-main-window"));
                const auto& map = dynamic_cast<const HazardMap&>(*analysis);
                const std::size_t node =
                    std::size_t(map.Grid().rows / 2) * map.Grid().columns + map.Grid().columns / 3;
                const QPoint at(int(std::lround(g->chart()->xAxis->coordToPixel(map.Grid().x(node)))),
                                int(std::lround(g->chart()->yAxis->coordToPixel(map.Grid().y(node)))));
                if (TfmGraph* h = commands.openNodeHistogram(*g, g->mapNodeAt(at))) {
                    settle();
                    std::printf("  node %zu: %s\n", node,
                                g->mapNodeText(int(node)).toLocal8Bit().constData());
                    save(*h, QStringLiteral("map-node-histogram"));
                    h->parentWidget()->close();
                    histogramSaved = true;
                }
            }
            frame->close();
            settle();
        }
    }

    // Through the menu with the map zone "Obszar" set on a zoomed location
    // map: the grid spans the zone.
    window.action(QStringLiteral("mZoomIn"))->trigger();
    window.action(QStringLiteral("mZoomIn"))->trigger();
    window.action(QStringLiteral("mSetZone"))->trigger();
    window.action(QStringLiteral("mHazardMap"))->trigger();
    settle();
    // The newest window: without a window manager the MDI area may have no
    // active one.
    const QList<QMdiSubWindow*> frames =
        window.findChild<QMdiArea*>()->subWindowList(QMdiArea::CreationOrder);
    if (auto* g = frames.isEmpty() ? nullptr : qobject_cast<TfmGraph*>(frames.back()->widget())) {
        g->parentWidget()->resize(900, 600);
        settle();
        save(*g, QStringLiteral("map-zone"));
    }
    save(window, QStringLiteral("map-zone-main-window"));
    return 0;
}

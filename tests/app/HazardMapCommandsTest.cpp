// The hazard map in the desktop program on the sample catalogue: its
// command and dialog, the map windows (colour grid, colour scale, equal
// scale), a click on a node opening the recurrence graph of the node's
// sample, the result table and report, the colour scales' choice, and bad
// input ending in a Polish message with no window.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <cmath>

#include "SampleShell.h"
#include "analysis/AnalysisCommands.h"
#include "chart/TfmChartsProp.h"
#include "charts/ChartPicture.h"
#include "charts/MapCharts.h"
#include "charts/PlanScale.h"
#include "hazard/TfmHazardMap.h"
#include "interchange/TableWindows.h"
#include "report/PrintDialogs.h"
#include "report/TfmRichText.h"
#include "spatial/HazardMap.h"

using namespace zorv;

namespace {

void check(TfmHazardMap& d, std::initializer_list<MapQuantity> quantities) {
    for (int i = 0; i < d.quantities()->count(); ++i) {
        QListWidgetItem* item = d.quantities()->item(i);
        const auto q = static_cast<MapQuantity>(item->data(Qt::UserRole).toInt());
        const bool on = std::find(quantities.begin(), quantities.end(), q) != quantities.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

QString firstMessage(const ShellFixture& f) {
    return f.dialogs.messages.empty() ? QString() : f.dialogs.messages[0].text;
}

// The centre of a node on the screen of its map window.
QPoint nodePixel(const TfmGraph& g, const HazardMap& map, std::size_t node) {
    return QPoint(int(std::lround(g.chart()->xAxis->coordToPixel(map.Grid().x(node)))),
                  int(std::lround(g.chart()->yAxis->coordToPixel(map.Grid().y(node)))));
}

void activate(TfmZorv& w, QWidget* child) {
    w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(child->parentWidget()));
    w.updateFileCommands();
}

}  // namespace

class HazardMapCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The menu command asks its dialog, which refuses a map of nothing;
    // Mc, b and the hazard open one map window each in one slot.
    void commandOpensOneMapWindowPerQuantity() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        QAction* a = w.action(QStringLiteral("mHazardMap"));
        QVERIFY(a && a->isEnabled());
        QCOMPARE(a->text(), QStringLiteral("Mapa zagrożenia"));
        bool refused = false;
        QString title;
        f.answer = [&](QDialog& d) {
            auto* m = qobject_cast<TfmHazardMap*>(&d);
            if (!m) return int(QDialog::Accepted);
            title = m->windowTitle();
            check(*m, {});
            refused = !m->continueButton()->isEnabled() && !m->problem()->text().isEmpty();
            check(*m, {MapQuantity::Mc, MapQuantity::BValue, MapQuantity::Hazard});
            m->magnitude()->setValue(2.5);
            m->duration()->setValue(1.0);
            return int(QDialog::Accepted);
        };
        a->trigger();
        QCOMPARE(title, QStringLiteral("Mapa zagrożenia"));
        QVERIFY(refused);
        QVERIFY2(f.dialogs.messages.empty(), qPrintable(firstMessage(f)));
        const QList<TfmGraph*> opened = charts(w);
        QCOMPARE(opened.size(), 3);
        auto* map = dynamic_cast<HazardMap*>(&opened[0]->analysis());
        QVERIFY(map);
        const MapGrid& grid = map->Grid();
        QCOMPARE(mapChartColumns(*map), (std::vector<std::string>{"Mc", "b", "Hazard"}));
        for (int i = 0; i < 3; ++i) {
            TfmGraph* g = opened[i];
            QCOMPARE(g->kind(), ChartKind::HazardMap);
            QCOMPARE(g->slot(), opened[0]->slot());
            QCOMPARE(&g->analysis(), &opened[0]->analysis());
            QVERIFY(g->colourMap() && g->colourScale());
            QCOMPARE(g->colourMap()->data()->keySize(), grid.columns);
            QCOMPARE(g->colourMap()->data()->valueSize(), grid.rows);
            // Every node's cell holds the table's value (NaN where it has none).
            const std::vector<double> values = *map->ColumnValues(g->mapColumn());
            for (std::size_t node = 0; node < grid.size(); node += 37) {
                const double cell =
                    g->colourMap()->data()->cell(int(node % grid.columns), int(node / grid.columns));
                QVERIFY(std::isnan(values[node]) ? std::isnan(cell) : cell == values[node]);
            }
            const QString caption = QString::fromStdString(map->ColumnCaption(g->mapColumn()));
            QCOMPARE(g->colourScale()->axis()->label().simplified(), caption.simplified());
            QVERIFY(g->windowTitle().contains(caption));
            QCOMPARE(g->mapEvents()->dataCount(), map->LocatedEvents());
        }
        // "w ciągu 1 miesiąca", not "1 miesięcy".
        QVERIFY(map->ColumnCaption("Hazard").find("w ciągu 1 miesiąca)") != std::string::npos);

        // X and Y keep one scale, after a resize too.
        TfmGraph* g = opened[2];
        for (QSize size : {QSize(450, 350), QSize(700, 300)}) {
            g->parentWidget()->resize(size);
            for (int k = 0; k < 4; ++k) {
                g->chart()->replot();
                QCoreApplication::processEvents();
            }
            const QRect r = g->chart()->axisRect()->rect();
            const double ux = g->chart()->xAxis->range().size() / r.width();
            const double uy = g->chart()->yAxis->range().size() / r.height();
            QVERIFY2(std::abs(ux - uy) < 0.02 * ux, qPrintable(QStringLiteral("%1 %2").arg(ux).arg(uy)));
        }

        // The result table: one row per node; the report is the map's.
        activate(w, g);
        w.action(QStringLiteral("mViewTable"))->trigger();
        auto* table = qobject_cast<TfmDatabase*>(w.mdiArea()->activeSubWindow()->widget());
        QVERIFY(table);
        QCOMPARE(table->table().recordCount(), grid.size());
        activate(w, g);
        w.action(QStringLiteral("mViewReport"))->trigger();
        auto* report = qobject_cast<TfmRichText*>(w.mdiArea()->activeSubWindow()->widget());
        QVERIFY(report);
        ReportLines expected;
        map->WriteReport(expected);
        QCOMPARE(report->lines(), expected);
    }

    // A click on a node shows its sample size, radius and values, and opens
    // the recurrence graph of exactly the node's events.
    void nodeClickOpensTheRecurrenceGraphOfItsSample() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        AnalysisRequest r;
        r.hazardMap.quantities = {MapQuantity::BValue};
        TfmGraph* g = w.analysisCommands().run(*findAnalysis("hazard-map"), r);
        QVERIFY2(g, qPrintable(firstMessage(f)));
        g->parentWidget()->resize(600, 450);
        for (int k = 0; k < 4; ++k) {
            g->chart()->replot();
            QCoreApplication::processEvents();
        }
        auto* map = dynamic_cast<HazardMap*>(&g->analysis());
        // A node in the middle of the plan.
        const std::size_t node =
            std::size_t(map->Grid().rows / 2) * map->Grid().columns + map->Grid().columns / 2;
        const QPoint at = nodePixel(*g, *map, node);
        QCOMPARE(g->mapNodeAt(at), int(node));
        QCOMPARE(g->mapNodeAt(QPoint(-5, -5)), -1);
        const int n = map->SampleSizes()[node];
        QVERIFY(n >= 2);
        const QString text = g->mapNodeText(int(node));
        QVERIFY(text.contains(QStringLiteral("N = %1").arg(n)));
        QVERIFY(text.contains(QStringLiteral("promień")));
        QVERIFY(text.contains(QStringLiteral("b = ")));

        const int before = int(charts(w).size());
        const QCPRange x = g->chart()->xAxis->range();
        QTest::mouseClick(g->chart(), Qt::LeftButton, {}, at);
        // A click is no zoom.
        QCOMPARE(g->chart()->xAxis->range(), x);
        const QList<TfmGraph*> now = charts(w);
        QCOMPARE(int(now.size()), before + 1);
        TfmGraph* histogram = now.back();
        QCOMPARE(histogram->kind(), ChartKind::Histogram);
        QVERIFY(histogram->windowTitle().contains(QStringLiteral("N = %1").arg(n)));
        // The graph's sample is the node's events, record for record.
        const Table* sample = histogram->analysis().dataset();
        QVERIFY(sample);
        QCOMPARE(int(sample->recordCount()), n);
        const std::vector<std::uint32_t> rows = map->NodeRows(node);
        const Table* source = map->dataset();
        QCOMPARE(rows.size(), std::size_t(n));
        for (std::size_t i = 0; i < rows.size(); i += 17)
            for (int field = 0; field < source->fieldCount(); ++field)
                QVERIFY(sample->value(i, field) == source->value(rows[i], field));
        QVERIFY(f.dialogs.messages.empty());
    }

    // What every chart window has: the properties dialog (applied, the map
    // keeps its colours and its scale), the seven picture types with the
    // colour grid in them, printing.
    void mapWindowHasWhatEveryChartWindowHas() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        AnalysisRequest r;
        r.hazardMap.quantities = {MapQuantity::Rate};
        TfmGraph* g = w.analysisCommands().run(*findAnalysis("hazard-map"), r);
        QVERIFY2(g, qPrintable(firstMessage(f)));
        const QCPRange scale = g->colourMap()->dataRange();
        TfmChartsProp& d = w.analysisCommands().chartPropertiesDialog();
        d.load(*g);
        d.apply();
        QCOMPARE(g->colourMap()->dataRange(), scale);
        QCOMPARE(g->colourMap()->data()->keySize(), dynamic_cast<HazardMap&>(g->analysis()).Grid().columns);

        for (PictureType type : {PictureType::Bmp, PictureType::Wmf, PictureType::Emf, PictureType::Jpeg,
                                 PictureType::Png, PictureType::Svg, PictureType::Pdf}) {
            const QString path = f.dir.filePath(QStringLiteral("mapa") + pictureExtension(type));
            writeChartPicture(*g->chart(), path, type, 90);
            QVERIFY2(QFileInfo(path).size() > 2000, qPrintable(path));
        }
        // The colour grid is drawn as an image: the SVG holds it, and the
        // scale's title.
        const QString svg = readAll(f.dir.filePath(QStringLiteral("mapa.svg")));
        QVERIFY(svg.contains(QStringLiteral("<image")));
        QImage png(f.dir.filePath(QStringLiteral("mapa.png")));
        QVERIFY(!png.isNull());
        // Many colours over the plan, not one: the scale shows contrast.
        QCOMPARE(png.size(), g->chart()->size());
        const QRect plan = g->chart()->axisRect()->rect();
        QSet<QRgb> colours;
        for (int y = plan.top(); y < plan.bottom(); y += 3)
            for (int x = plan.left(); x < plan.right(); x += 3) colours.insert(png.pixel(x, y));
        QVERIFY2(colours.size() > 60, qPrintable(QString::number(colours.size())));

        w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(g->parentWidget()));
        f.answer = [&](QDialog& dialog) {
            if (auto* k = qobject_cast<PrintKindDialog*>(&dialog)) k->chartOnlyButton()->setChecked(true);
            return int(QDialog::Accepted);
        };
        f.dialogs.printAnswer = f.dir.filePath(QStringLiteral("mapa-wydruk.pdf"));
        w.action(QStringLiteral("mPrint"))->trigger();
        QVERIFY(QFileInfo(f.dialogs.printAnswer).size() > 2000);
    }

    // The change map draws the rate ratio, the b difference and its
    // significance; no change is white on both diverging scales.
    void changeMapIsWhiteAtNoChange() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        f.answer = [&](QDialog& d) {
            auto* m = qobject_cast<TfmHazardMap*>(&d);
            if (!m) return int(QDialog::Accepted);
            m->changeMap()->setChecked(true);
            m->periodDate(0, false)->setDate(QDate(2000, 1, 1));
            m->periodDate(0, true)->setDate(QDate(2002, 12, 31));
            m->periodDate(1, false)->setDate(QDate(2003, 1, 1));
            m->periodDate(1, true)->setDate(QDate(2005, 12, 31));
            return m->continueButton()->isEnabled() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
        w.action(QStringLiteral("mHazardMap"))->trigger();
        QVERIFY2(f.dialogs.messages.empty(), qPrintable(firstMessage(f)));
        const QList<TfmGraph*> opened = charts(w);
        QCOMPARE(opened.size(), 3);
        QCOMPARE(opened[0]->mapColumn(), std::string("IlorazT"));
        QCOMPARE(opened[1]->mapColumn(), std::string("Roznica_b"));
        const QColor white(255, 255, 255);
        QCPColorMap* ratio = opened[0]->colourMap();
        QCOMPARE(QColor(ratio->gradient().color(1.0, ratio->dataRange(), true)), white);
        QVERIFY(ratio->dataRange().lower * ratio->dataRange().upper > 0.99);
        QCPColorMap* difference = opened[1]->colourMap();
        QCOMPARE(QColor(difference->gradient().color(0.0, difference->dataRange(), false)), white);
        QCOMPARE(difference->dataRange().lower, -difference->dataRange().upper);
    }

    // The map zone "Obszar" set on the location map is the map's extent:
    // the grid spans the zone, not the box of the events inside it.
    void mapZoneIsTheExtent() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        f.answer = [&](QDialog& d) {
            auto* m = qobject_cast<TfmHazardMap*>(&d);
            if (!m) return int(QDialog::Accepted);
            check(*m, {MapQuantity::Count});
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mZoomIn"))->trigger();
        w.action(QStringLiteral("mSetZone"))->trigger();
        const std::optional<MapBox> zone = w.session().mapZoneArea();
        QVERIFY(zone);
        w.action(QStringLiteral("mHazardMap"))->trigger();
        QVERIFY2(f.dialogs.messages.empty(), qPrintable(firstMessage(f)));
        QList<TfmGraph*> opened = charts(w);
        QCOMPARE(opened.size(), 1);
        const MapGrid zoned = dynamic_cast<HazardMap&>(opened[0]->analysis()).Grid();
        const double left = std::min(zone->x0, zone->x1), right = std::max(zone->x0, zone->x1);
        const double bottom = std::min(zone->y0, zone->y1), top = std::max(zone->y0, zone->y1);
        QVERIFY(std::abs(zoned.x0 - left) <= zoned.cell);
        QVERIFY(std::abs(zoned.y0 - bottom) <= zoned.cell);
        QVERIFY(std::abs(zoned.x(zoned.size() - 1) - right) <= zoned.cell);
        QVERIFY(std::abs(zoned.y(zoned.size() - 1) - top) <= zoned.cell);

        // Without the zone the extent is the events' again (the zone is the
        // map's view, wider than the events where one scale widened it).
        w.action(QStringLiteral("mUnsetZone"))->trigger();
        QVERIFY(!w.session().mapZoneArea());
        w.action(QStringLiteral("mHazardMap"))->trigger();
        opened = charts(w);
        const MapGrid whole = dynamic_cast<HazardMap&>(opened.back()->analysis()).Grid();
        QVERIFY(std::abs(whole.x0 - zoned.x0) > whole.cell || std::abs(whole.y0 - zoned.y0) > whole.cell ||
                std::abs(whole.x(whole.size() - 1) - zoned.x(zoned.size() - 1)) > whole.cell ||
                std::abs(whole.y(whole.size() - 1) - zoned.y(zoned.size() - 1)) > whole.cell);
    }

    // Bad input: the Polish message, no window.
    void badInputShowsTheMessageAndNoWindow_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<double>("cell");
        QTest::addColumn<int>("nearest");
        QTest::addColumn<QString>("message");
        QTest::newRow("no located events")
            << QStringLiteral("X>100000000") << -1.0 << 200 << QStringLiteral("Brak zlokalizowanych zjawisk");
        QTest::newRow("cell size 0") << QString() << 0.0 << 200 << QStringLiteral("musi być liczbą dodatnią");
        QTest::newRow("too many nodes") << QString() << 1.0 << 200 << QStringLiteral("najwyżej 4 000 000");
        QTest::newRow("N above the events")
            << QString() << -1.0 << 50000 << QStringLiteral("przekracza liczbę zlokalizowanych");
    }
    void badInputShowsTheMessageAndNoWindow() {
        QFETCH(QString, location);
        QFETCH(double, cell);
        QFETCH(int, nearest);
        QFETCH(QString, message);
        ShellFixture f;
        TfmZorv& w = openSample(f);
        AnalysisRequest r;
        r.hazardMap.locationExpression = location.toStdString();
        if (cell >= 0.0) r.hazardMap.grid.cellSize = cell;
        r.hazardMap.sampling.nearest = nearest;
        QCOMPARE(w.analysisCommands().run(*findAnalysis("hazard-map"), r), nullptr);
        QCOMPARE(int(f.dialogs.messages.size()), 1);
        QVERIFY2(f.dialogs.messages[0].text.contains(message), qPrintable(f.dialogs.messages[0].text));
        QVERIFY(charts(w).isEmpty());
    }

    // The colour scale shows contrast: the ends are the 2nd and 98th
    // percentiles, a positive column spanning decades is logarithmic, one
    // value everywhere gets a band about it.
    void colourScaleChoice() {
        std::vector<double> decades, outlier, flat(20, 3.0);
        for (int i = 0; i < 100; ++i) decades.push_back(std::pow(10.0, -4.0 + 4.0 * i / 99.0));
        decades.push_back(std::nan(""));
        for (int i = 0; i < 100; ++i) outlier.push_back(1.0 + 0.01 * i);
        outlier.push_back(50.0);
        const PlanScale d = choosePlanScale("Hazard", decades);
        QCOMPARE(d.kind, PlanScaleKind::Logarithmic);
        // numpy.percentile(10**np.linspace(-4, 0, 100), [2, 98]) = 1.20236e-4, 0.831836
        QVERIFY(std::abs(d.lower / 1.20236e-4 - 1.0) < 1e-3);
        QVERIFY(std::abs(d.upper / 0.831836 - 1.0) < 1e-3);
        const PlanScale o = choosePlanScale("b", outlier);
        QCOMPARE(o.kind, PlanScaleKind::Linear);
        // The outlier 50 is beyond the upper end: 2nd and 98th percentiles of
        // 1.00 … 1.99 and 50 (numpy.percentile: 1.02, 1.98).
        QVERIFY(std::abs(o.lower - 1.02) < 1e-9 && std::abs(o.upper - 1.98) < 1e-9);
        const PlanScale c = choosePlanScale("Mc", flat);
        QVERIFY(c.lower < 3.0 && c.upper > 3.0);
        // Counts with some zero nodes and decades of spread stay logarithmic.
        std::vector<double> counts = decades;
        counts.insert(counts.end(), 10, 0.0);
        QCOMPARE(choosePlanScale("Energia", counts).kind, PlanScaleKind::Logarithmic);
    }
};

QTEST_MAIN(HazardMapCommandsTest)
#include "HazardMapCommandsTest.moc"

// The statistics commands of the main window on the sample catalogue: their
// dialogs, the chart windows they open, cancelling, failures, the templates
// and size presets of chart windows, and the same tables as zorv-batch.

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include "SampleShell.h"
#include "analysis/AnalysisCommands.h"
#include "analysis/TfmAddSort.h"
#include "analysis/TfmZones.h"
#include "catalogue/FilterBuilder.h"
#include "catalogue/TfmBasePreferences.h"
#include "chart/TfmGraph.h"
#include "charts/ChartTemplateQt.h"
#include "services/Commands.h"
#include "services/ProgressWindow.h"

using namespace zorv;

namespace {

// The zone dialogs answered with a list of zones.
int chooseZones(QDialog& d, const QStringList& zones) {
    ZonePicker* picker = nullptr;
    if (auto* z = qobject_cast<TfmZones*>(&d)) picker = z->picker();
    if (auto* z = qobject_cast<TfmZoneActivity*>(&d)) picker = z->picker();
    if (!picker) return QDialog::Accepted;
    picker->clearChosen();
    for (const QString& zone : zones) picker->list()->addZone(zone);
    if (auto* z = qobject_cast<TfmZones*>(&d)) {
        z->nextButton()->click();
        z->nextButton()->click();
        return z->result();
    }
    return QDialog::Accepted;
}

}  // namespace

class AnalysisCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Each statistics action opens a chart window of its kind; its dialog's
    // text and panel are the action's.
    void everyStatisticsActionOpensItsChart() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        QVERIFY(w.catalogue());
        QString dialogText;
        bool panel = false;
        f.answer = [&](QDialog& d) {
            if (auto* s = qobject_cast<TfmAddSort*>(&d)) {
                dialogText = s->chartLabel()->text();
                panel = !s->thresholdPanel()->isHidden();
                return int(QDialog::Accepted);
            }
            return chooseZones(d, {QStringLiteral("G-1"), QStringLiteral("G-2/1")});
        };
        int opened = 0;
        for (const AnalysisEntry& e : analysisRegistry()) {
            if (e.parameters == AnalysisParameters::NonParametric ||
                e.parameters == AnalysisParameters::Parametric ||
                e.parameters == AnalysisParameters::TimeVariations ||
                e.parameters == AnalysisParameters::Backtest ||
                e.parameters == AnalysisParameters::HazardMap)  // HazardMapCommandsTest
                continue;
            QAction* a = w.action(QString::fromUtf8(e.action));
            QVERIFY2(a && a->isEnabled(), e.action);
            dialogText.clear();
            const int before = static_cast<int>(charts(w).size());
            a->trigger();
            const QList<TfmGraph*> now = charts(w);
            QCOMPARE(now.size(), before + 1);
            TfmGraph* g = now.last();
            QCOMPARE(g->kind(), e.chartKind);
            QVERIFY2(std::any_of(g->layout().series.begin(), g->layout().series.end(),
                                 [&](const SeriesBinding& b) { return g->series(b.series).active; }),
                     e.name);
            if (e.parameters == AnalysisParameters::Period ||
                e.parameters == AnalysisParameters::EnergyTraces) {
                QCOMPARE(dialogText, QString::fromUtf8(e.dialogText));
                QCOMPARE(panel, e.parameters == AnalysisParameters::EnergyTraces);
            }
            ++opened;
        }
        // 18 statistics and the maximum-magnitude comparison, which asks nothing.
        QCOMPARE(opened, 19);
        QVERIFY(f.dialogs.messages.empty());
        // Chart commands follow the active chart window.
        w.show();
        w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(charts(w).last()->parentWidget()));
        w.updateFileCommands();
        for (const char* n : {"mSaveGraphAsTemplate", "mLoadGraphTemplate", "m400x300"})
            QVERIFY2(w.action(QString::fromUtf8(n))->isEnabled(), n);
    }

    // "Wykres powtarzalności" of the base properties opens the recurrence graph.
    void basePropertiesOpenTheRecurrenceGraph() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        f.answer = [](QDialog& d) {
            if (auto* b = qobject_cast<TfmBasePreferences*>(&d)) b->histogramButton()->click();
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mBaseProperties"))->trigger();
        QCOMPARE(charts(w).size(), 1);
        QCOMPARE(charts(w).first()->kind(), ChartKind::Histogram);
        QCOMPARE(charts(w).first()->titleText().section(QLatin1Char('\n'), 1),
                 QStringLiteral("Wykres powtarzalności"));
    }

    void cancellingADialogRunsNothing() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        f.answer = [](QDialog&) { return int(QDialog::Rejected); };
        for (const char* n : {"mSeisActivity", "mEnergiaSladow", "mZoneTotalActivity", "mZoneActivity"})
            w.action(QString::fromUtf8(n))->trigger();
        QVERIFY(charts(w).isEmpty());
        QVERIFY(f.dialogs.messages.empty());
    }

    void scaleDialogRemembersItsKind() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        TfmAddSort& d = w.analysisCommands().scaleDialog();
        QCOMPARE(d.periodKind(), PeriodKind::Quarters);
        QStringList labels;
        f.answer = [&](QDialog& dialog) {
            auto* s = qobject_cast<TfmAddSort*>(&dialog);
            if (labels.isEmpty()) s->scale()->setCurrentIndex(1);  // "Miesiące"
            labels << s->scale()->currentText();
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mTotalActivity"))->trigger();
        w.action(QStringLiteral("mEnReleased"))->trigger();
        QCOMPARE(labels, (QStringList{QStringLiteral("Miesiące"), QStringLiteral("Miesiące")}));
        // 2000–2005 by months.
        QCOMPARE(charts(w).last()->analysis().GetTable()->recordCount(), std::size_t(72));
        // The trace thresholds are whole joules from 1 to 1e11.
        QCOMPARE(d.traceEdit()->minimum(), 1.0);
        QCOMPARE(d.dischargeEdit()->maximum(), 1e11);
        QCOMPARE(d.traceEdit()->decimals(), 0);
        QCOMPARE(d.dischargeThreshold(), 1e7);
    }

    // The b-value dialogs offer the statistics box; ticked, the run has the
    // sigma column and its chart the error bars. Other series do not show it.
    void bStatisticsFromTheDialogs() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        bool shown = false;
        QString caption;
        f.answer = [&](QDialog& dialog) {
            if (auto* s = qobject_cast<TfmAddSort*>(&dialog)) {
                shown = !s->bStatisticsBox()->isHidden();
                s->bStatisticsBox()->setChecked(true);
                caption = s->windowTitle();
                // The caption is not cut by the dialog's width.
                if (s->width() < s->fontMetrics().horizontalAdvance(caption))
                    caption += QStringLiteral(" (cut)");
            }
            if (auto* z = qobject_cast<TfmZones*>(&dialog)) {
                shown = !z->bStatisticsBox()->isHidden();
                z->bStatisticsBox()->setChecked(true);
                z->picker()->list()->addZone(QStringLiteral("G-1"));
                z->picker()->list()->addZone(QStringLiteral("G-2/1"));
            }
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mTotalActivity"))->trigger();
        QVERIFY(!shown);
        QCOMPARE(caption, QStringLiteral("Analiza aktywności sejsmicznej"));
        QVERIFY(charts(w).last()->analysis().GetTable()->fieldIndex("sigma") < 0);
        for (const char* action : {"mBChanges", "mZoneB"}) {
            w.action(QString::fromUtf8(action))->trigger();
            QVERIFY2(shown, action);
            if (std::string_view(action) == "mBChanges") QCOMPARE(caption, TfmAddSort::bValueCaption());
            TfmGraph* g = charts(w).last();
            QVERIFY(g->analysis().GetTable()->fieldIndex("P_UTSU") >= 0);
            QVERIFY(g->series(13).errorBars);
        }
        // Unticked, the series is as specified.
        f.answer = [&](QDialog& dialog) {
            if (auto* s = qobject_cast<TfmAddSort*>(&dialog)) s->bStatisticsBox()->setChecked(false);
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mBChanges"))->trigger();
        QVERIFY(charts(w).last()->analysis().GetTable()->fieldIndex("sigma") < 0);
        QVERIFY(!charts(w).last()->series(13).errorBars);
    }

    void zoneDialogSteps() {
        TfmZones d;
        ZoneTree zones;
        zones.zones = {"G-1/1", "G-1/2"};
        zones.departments = {"G-1"};
        zones.tree = {{"G-1", {"G-1/1", "G-1/2"}}};
        d.prepare(zones, QStringLiteral("Katalog"), QStringLiteral("Aktywność sejsmiczna"));
        QVERIFY(!d.nextButton()->isEnabled());
        QTreeWidget* tree = d.picker()->tree();
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QVERIFY(tree->isExpanded(tree->model()->index(0, 0)));
        // Drops are taken for departments and zones, not for the root.
        QVERIFY(!d.picker()->list()->acceptsNode(root));
        QVERIFY(d.picker()->list()->acceptsNode(root->child(0)));
        QVERIFY(d.picker()->list()->acceptsNode(root->child(0)->child(1)));
        // "Dodaj strefę" takes the selected node, once; the list stays sorted.
        tree->setCurrentItem(root->child(0)->child(1));
        d.picker()->addButton()->click();
        d.picker()->addButton()->click();
        tree->setCurrentItem(root->child(0));
        d.picker()->addButton()->click();
        QCOMPARE(d.zones(), (std::vector<std::string>{"G-1", "G-1/2"}));
        QVERIFY(d.nextButton()->isEnabled());
        d.picker()->clearButton()->click();
        QVERIFY(!d.nextButton()->isEnabled());
        d.picker()->list()->addZone(QStringLiteral("G-1/1"));
        d.nextButton()->click();
        QCOMPARE(d.step(), 2);
        QCOMPARE(d.nextButton()->text(), QStringLiteral("Koniec"));
        QCOMPARE(d.result(), int(QDialog::Rejected));
        d.nextButton()->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    // The zone activity reads the whole catalogue whatever its filter.
    void zoneActivityIgnoresTheFilter() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.action(QStringLiteral("mLocalizedOnly"))->setChecked(true);
        w.applyFilter();
        const std::size_t filtered = w.catalogue()->recordCount();
        QVERIFY(filtered < w.catalogue()->physicalCount());
        AnalysisRequest r;
        r.zones = {"G-1", "G-2", "G-3", "G-4"};
        TfmGraph* g = w.analysisCommands().run(*findAnalysis("zone-activity"), r);
        QVERIFY(g);
        const Table& t = *g->analysis().GetTable();
        double total = 0;
        for (std::size_t i = 0; i < t.recordCount(); ++i)
            total += t.column(t.requireField("Aktywnosc")).numberAt(t.rowOfRecord(i));
        QCOMPARE(total, double(w.catalogue()->physicalCount()));
        QVERIFY(w.catalogue()->filtered());
        QCOMPARE(w.catalogue()->recordCount(), filtered);
        // Its window carries the filter of the catalogue in its texts.
        QVERIFY(g->windowTitle().contains(QStringLiteral(" /")));
    }

    // A failure of the analysis shows its message and opens no window.
    void failureLeavesNoWindow() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        AnalysisRequest r;
        r.period = PeriodKind::Quarters;
        // A sample without events has no periods.
        w.catalogue()->setFilter("MAGNITUDA > 99");
        w.catalogue()->setFiltered(true);
        QVERIFY(w.catalogue()->isEmpty());
        TfmGraph* g = w.analysisCommands().run(*findAnalysis("activity"), r);
        QVERIFY(!g);
        QVERIFY(charts(w).isEmpty());
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Problem..."));
        QVERIFY(!w.progressWindow().isVisible());
    }

    // The desktop command and zorv-batch build the same table from the same
    // catalogue, filter and parameters.
    void sameTablesAsTheBatchProgram_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("activity by months in G-1")
            << "activity" << QStringList{"--period", "months", "--department", "G-1"};
        QTest::newRow("recurrence of the located events") << "histogram" << QStringList{"--located"};
        QTest::newRow("b-value by years") << "b-changes" << QStringList{"--period", "years"};
        QTest::newRow("b-value statistics by months")
            << "b-changes" << QStringList{"--period", "months", "--b-stats"};
        QTest::newRow("zone b-value statistics")
            << "zone-b" << QStringList{"--zones", "G-1,G-2/3,G-9", "--b-stats"};
        QTest::newRow("zone energy") << "zone-energy" << QStringList{"--zones", "G-1,G-2/3,G-4"};
    }
    void sameTablesAsTheBatchProgram() {
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        ShellFixture f;
        TfmZorv& w = openSample(f);
        const AnalysisEntry& e = *findAnalysis(name.toStdString());
        AnalysisRequest r;
        for (int i = 0; i + 1 < options.size(); ++i) {
            if (options[i] == QStringLiteral("--period"))
                r.period =
                    options[i + 1] == QStringLiteral("months") ? PeriodKind::Months : PeriodKind::Years;
            if (options[i] == QStringLiteral("--zones"))
                for (const QString& z : options[i + 1].split(QLatin1Char(',')))
                    r.zones.push_back(z.toStdString());
        }
        r.bStatistics.enabled = options.contains(QStringLiteral("--b-stats"));
        if (options.contains(QStringLiteral("--department"))) {
            const Preferences& p = w.preferences();
            w.catalogue()->setFilter(zoneTreeDepartmentFilter(p.Oddzial, "G-1", p.Slash).expression);
            w.catalogue()->setFiltered(true);
        }
        if (options.contains(QStringLiteral("--located"))) {
            w.action(QStringLiteral("mLocalizedOnly"))->setChecked(true);
            w.applyFilter();
        }
        TfmGraph* g = w.analysisCommands().run(e, r);
        QVERIFY(g);
        const QString gui = f.dir.filePath(QStringLiteral("gui.csv"));
        QVERIFY(g->analysis().SaveTableAsText(gui.toStdString(), ";"));

        const QString cli = f.dir.filePath(QStringLiteral("cli.csv"));
        QProcess batch;
        QStringList args{name};
        args << options << QStringLiteral("--settings") << f.iniPath() << QStringLiteral("--table") << cli
             << QStringLiteral("--locale") << QStringLiteral("en") << sampleCopy(f);
        batch.start(QStringLiteral(ZORV_BATCH), args);
        QVERIFY(batch.waitForFinished(60000));
        QVERIFY2(batch.exitCode() == 0, batch.readAllStandardError().constData());
        const QString guiText = readAll(gui), cliText = readAll(cli);
        QVERIFY(guiText.count(QLatin1Char('\n')) > 1);
        QCOMPARE(guiText, cliText);
    }

    void templatesCarryTheStyle() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        AnalysisRequest r;
        TfmGraph* first = w.analysisCommands().run(*findAnalysis("activity"), r);
        TfmGraph* second = w.analysisCommands().run(*findAnalysis("b-changes"), r);
        QVERIFY(first && second);
        // Restyle the first chart as a user would.
        QFont bold(QStringLiteral("DejaVu Serif"), 11);
        bold.setBold(true);
        first->chart()->yAxis->setLabelFont(bold);
        first->chart()->legend->setBrush(QColor(10, 20, 30));
        first->titleElement()->setTextFlags(Qt::AlignHCenter);
        first->footerElement()->setTextFlags(Qt::AlignRight);
        first->gradientVisible = true;
        first->gradientStart = 0x112233;
        first->gradientEnd = 0x445566;
        first->gradientDirection = 3;
        first->setBackColour(0x00FF00);
        first->chart()->xAxis->grid()->setPen(QPen(QColor(1, 2, 3), 2, Qt::DashLine));
        first->chart()->yAxis->setTickLengthOut(7);
        first->setMinorTickCount(ChartAxis::Left, 3);
        for (int i = 0; i < 10; ++i)
            setSeriesColour(*first, i, static_cast<std::uint32_t>(0x010101 * (i + 1)));

        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("styl"));
        w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        w.action(QStringLiteral("mSaveGraphAsTemplate"))->trigger();
        QCOMPARE(QFile(f.dir.filePath(QStringLiteral("styl.tpt"))).size(), qint64(584));
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("styl.tpt"));
        w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(second->parentWidget()));
        w.action(QStringLiteral("mLoadGraphTemplate"))->trigger();
        QVERIFY(f.dialogs.messages.empty());

        QCOMPARE(captureTemplate(*second), captureTemplate(*first));
        // The stored axis title font reaches all three axes, bold included.
        for (QCPAxis* a : {second->chart()->xAxis, second->chart()->yAxis, second->chart()->yAxis2})
            QVERIFY(a->labelFont().bold());
        QCOMPARE(second->chart()->xAxis->grid()->pen().style(), Qt::DashLine);
        QCOMPARE(seriesColour(*second, 9), 0x0A0A0Au);

        // A template file that cannot be read says so.
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("brak.tpt"));
        w.action(QStringLiteral("mLoadGraphTemplate"))->trigger();
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Błąd odczytu pliku szablonu... (2)"));
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("brak/styl.tpt"));
        w.action(QStringLiteral("mSaveGraphAsTemplate"))->trigger();
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Błąd zapisu pliku szablonu... (2)"));
    }

    void defaultTemplate() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        AnalysisRequest r;
        w.preferences().TemplateFileName.clear();
        QVERIFY(w.analysisCommands().run(*findAnalysis("histogram"), r));
        QVERIFY(f.dialogs.messages.empty());
        const std::string missing = f.dir.filePath(QStringLiteral("nie-ma.tpt")).toStdString();
        w.preferences().TemplateFileName = missing;
        QVERIFY(w.analysisCommands().run(*findAnalysis("histogram"), r));
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].text,
                 QString::fromStdString("Szablon " + missing + " nie może zostać odczytany. "));
        // A saved default is applied to every new chart.
        ChartTemplate t;
        t.legendVisible = false;
        t.titleAlignment = 1;
        QCOMPARE(saveChartTemplate(missing, t), 0);
        TfmGraph* g = w.analysisCommands().run(*findAnalysis("histogram"), r);
        QVERIFY(!g->chart()->legend->visible());
        QVERIFY(g->titleElement()->textFlags() & Qt::AlignRight);
    }

    // A new chart window opens at the size of the settings, or as large as
    // the main window's free space allows.
    void newChartWindowsOpenAtTheSettingsSize() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.resize(1400, 1000);
        w.show();
        const Preferences& p = w.preferences();
        AnalysisRequest r;
        TfmGraph* g = w.analysisCommands().run(*findAnalysis("histogram"), r);
        QVERIFY(g);
        QCOMPARE(g->size(), QSize(p.GraphWidth, p.GraphHeight));
        w.resize(420, 300);
        QCoreApplication::processEvents();
        TfmGraph* small = w.analysisCommands().run(*findAnalysis("histogram"), r);
        QVERIFY(small);
        auto* frame = qobject_cast<QMdiSubWindow*>(small->parentWidget());
        const QSize free = w.mdiArea()->viewport()->size();
        QVERIFY(frame->width() <= free.width() && frame->height() <= free.height());
        QVERIFY(frame->width() == free.width() || frame->height() == free.height());
    }

    void sizePresets() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        AnalysisRequest r;
        TfmGraph* g = w.analysisCommands().run(*findAnalysis("histogram"), r);
        auto* frame = qobject_cast<QMdiSubWindow*>(g->parentWidget());
        frame->showMaximized();
        QVERIFY(frame->isMaximized());
        w.action(QStringLiteral("m400x300"))->trigger();  // "500 x 400 pikseli"
        QVERIFY(!frame->isMaximized());
        QCOMPARE(g->size(), QSize(500, 400));
        w.preferences().GraphWidth = 640;
        w.preferences().GraphHeight = 480;
        w.action(QStringLiteral("mDefaultSize"))->trigger();
        QCOMPARE(g->size(), QSize(640, 480));
        frame->showMinimized();
        w.action(QStringLiteral("mGraphSize"))->trigger();
        QVERIFY(!frame->isMinimized());
        QCOMPARE(g->size(), QSize(640, 480));
    }
};

QTEST_MAIN(AnalysisCommandsTest)
#include "AnalysisCommandsTest.moc"

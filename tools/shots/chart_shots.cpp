// Opens a catalogue in the main window, runs every statistics analysis of
// the registry on it with its default parameters and saves a picture of
// each chart window: chart-<batch name>.png in the output folder. Used by
// tools/screenshots.sh under a virtual X server.
//
//   chart_shots CATALOGUE OUTPUT_DIR

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSize>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolTip>
#include <cstdio>

#include "ShotShell.h"
#include "analysis/AnalysisCommands.h"
#include "analysis/TfmAddSort.h"
#include "analysis/TfmZones.h"
#include "catalogue/TfmBaseCheck.h"
#include "chart/TfmGraph.h"
#include "hazard/BootstrapBox.h"
#include "hazard/NonParametricTables.h"
#include "hazard/TfmHazards.h"
#include "hazard/TfmTimeVariations.h"
#include "interchange/FileCommands.h"
#include "interchange/TfmImport.h"
#include "report/PrintCommands.h"
#include "report/PrintDialogs.h"
#include "report/ReportPrinting.h"
#include "services/UserDialogs.h"
#include "shell/TfmZorv.h"

using namespace zorv;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: chart_shots CATALOGUE OUTPUT_DIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    ShotShell shell;
    if (!shell.open(QString::fromLocal8Bit(argv[1]))) return 1;
    TfmZorv& window = shell.window;
    AnalysisCommands& commands = window.analysisCommands();
    // The parameter dialogs as they open, each saved as dialog-<name>.png.
    const auto shot = [&](QWidget& d, const char* name) {
        d.show();
        for (int i = 0; i < 5; ++i) app.processEvents();
        const QString file = QDir(out).filePath(QStringLiteral("dialog-%1.png").arg(QString::fromUtf8(name)));
        d.grab().save(file);
        d.hide();
        std::printf("saved %s\n", file.toLocal8Bit().constData());
    };
    const AnalysisSettings& s = window.analysisSettings();
    TfmAddSort& scale = commands.scaleDialog();
    scale.prepare(QStringLiteral("Energia śladów"), true);
    shot(scale, "scale");
    TfmZones& zones = commands.zonesDialog();
    zones.prepare(window.zones(), QString::fromStdString(s.MainTitle),
                  QStringLiteral("Aktywność sejsmiczna"));
    zones.picker()->list()->addZone(QStringLiteral("G-1"));
    shot(zones, "zones");
    TfmHazards& hazards = commands.hazardDialog();
    hazards.prepareNonParametric(DefaultHazardParameters(HazardKind::Hazard, 0, 0.12, true, false), s.a, s.b,
                                 s.UserLocale);
    shot(hazards, "np-hazard");
    hazards.prepareParametric(ChartKind::ParametricHazardVsMagnitude, true, s.a, s.b, s.UserLocale);
    shot(hazards, "p-hazard-magnitude");
    TfmTimeVariations& tv = commands.timeVariationsDialog();
    tv.prepare(TimeVariationsDefaults(10), s.a, s.b, s.UserLocale);
    shot(tv, "time-variations");
    // The same dialogs with "Przedział ufności" ticked.
    BootstrapOptions bands;
    bands.enabled = true;
    HazardParameters density = DefaultHazardParameters(
        HazardKind::Probabilities, DensityFunction | AdaptiveDensityFunction | AdaptiveDistribution, 0.12,
        true, false);
    density.bootstrap = bands;
    hazards.prepareNonParametric(density, s.a, s.b, s.UserLocale);
    shot(hazards, "np-density-bands");
    hazards.prepareParametric(ChartKind::ParametricHazard, false, s.a, s.b, s.UserLocale);
    hazards.bootstrap()->setOptions(bands);
    shot(hazards, "p-hazard-bands");
    TimeVariationsParameters tvBands = TimeVariationsDefaults(10);
    tvBands.bootstrap = bands;
    tv.prepare(tvBands, s.a, s.b, s.UserLocale);
    shot(tv, "time-variations-bands");
    // The import dialog on the text form of the catalogue beside it, if any.
    const QString text =
        QFileInfo(QString::fromLocal8Bit(argv[1])).dir().filePath(QStringLiteral("katalog.txt"));
    if (QFileInfo::exists(text)) {
        TfmImport& import = window.fileCommands().importDialog();
        if (import.load(text, window.preferences())) {
            import.selectColumn(4);
            import.chooseRole(ImportRole::Energy);
            shot(import, "import");
        }
    }
    // The outputs of a chart: its report, its text table and its result table.
    {
        AnalysisRequest r;
        r.period = PeriodKind::Years;
        if (TfmGraph* g = commands.run(*findAnalysis("energy"), r)) {
            const auto grabActive = [&](const char* name) {
                QMdiSubWindow* frame = window.mdiArea()->activeSubWindow();
                if (!frame) return;
                frame->resize(900, 520);
                for (int i = 0; i < 5; ++i) app.processEvents();
                const QString file =
                    QDir(out).filePath(QStringLiteral("window-%1.png").arg(QString::fromUtf8(name)));
                frame->grab().save(file);
                std::printf("saved %s\n", file.toLocal8Bit().constData());
                frame->close();
                app.processEvents();
            };
            const auto chartFrame = qobject_cast<QMdiSubWindow*>(g->parentWidget());
            window.mdiArea()->setActiveSubWindow(chartFrame);
            window.fileCommands().viewReport(1);
            grabActive("report");
            window.mdiArea()->setActiveSubWindow(chartFrame);
            window.fileCommands().viewReport(2);
            grabActive("text-table");
            window.mdiArea()->setActiveSubWindow(chartFrame);
            window.fileCommands().viewTable();
            grabActive("result-table");
            // The print dialogs, and the report page printed to PDF (its
            // picture is made by pdftoppm in screenshots.sh).
            ReportLines report;
            g->analysis().SetPrintMarkup(true);
            g->analysis().WriteReport(report);
            g->analysis().SetPrintMarkup(false);
            PrintCommands& prints = window.printCommands();
            prints.reportPanel().prepare(reportSections(report), 16, 12);
            shot(prints.reportPanel(), "report-panel");
            shot(prints.chartDialog(), "print-graph");
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QDir(out).filePath(QStringLiteral("print-report.pdf")));
            printer.setResolution(300);
            printer.setPageSize(QPageSize(QPageSize::A4));
            preparePrinter(printer, QStringLiteral("ZORV  Drukowanie raportu"));
            printReportPage(printer, prints.reportPanel().sections(), prints.reportPanel().options(),
                            *g->chart());
            std::printf("saved %s\n", printer.outputFileName().toLocal8Bit().constData());
            chartFrame->close();
            app.processEvents();
        }
    }
    // A chart window shown maximised, saved as OUT/file and closed.
    const auto saveChart = [&app, &out](TfmGraph* g, const QString& file) {
        auto* frame = qobject_cast<QMdiSubWindow*>(g->parentWidget());
        frame->showMaximized();
        for (int i = 0; i < 5; ++i) app.processEvents();
        const QString path = QDir(out).filePath(file);
        g->grab().save(path);
        std::printf("saved %s\n", path.toLocal8Bit().constData());
        frame->close();
        app.processEvents();
    };
    // The b charts with their statistics: error bars of ± sigma.
    scale.prepare(QStringLiteral("Zmiany współczynnika b"), false, true);
    shot(scale, "scale-b-statistics");
    for (const char* name : {"b-changes", "zone-b"}) {
        AnalysisRequest r;
        r.period = PeriodKind::Quarters;
        r.zones = {"G-1/1", "G-1/2", "G-1/3", "G-1/4", "G-2/1", "G-2/2", "G-2/3", "G-3/1", "G-4/1"};
        r.bStatistics.enabled = true;
        TfmGraph* g = commands.run(*findAnalysis(name), r);
        if (!g) continue;
        saveChart(g, QStringLiteral("chart-%1-errorbars.png").arg(QString::fromUtf8(name)));
    }
    // The completeness magnitude of every time-variation window, with MMin.
    {
        AnalysisRequest r;
        r.timeVariations = TimeVariationsDefaults(0);
        r.timeVariations.completeness.enabled = true;
        if (TfmGraph* g = commands.run(*findAnalysis("time-variations"), r))
            saveChart(g, QStringLiteral("chart-time-variations-mc.png"));
    }
    // The density functions with their bands (B = 200, 90 %), and the
    // parametric density with its band: chart-<name>-bands.png.
    {
        const Preferences& prefs = window.preferences();
        AnalysisRequest np;
        np.nonParametric = DefaultHazardParameters(
            HazardKind::Probabilities, DensityFunction | AdaptiveDensityFunction | AdaptiveDistribution,
            prefs.H, prefs.Auto, false);
        np.nonParametric.bootstrap = bands;
        np.nonParametric.accepted = true;
        AnalysisRequest p;
        p.parametric.bootstrap = bands;
        for (const auto& [name, request] : {std::pair{"np-density", np}, std::pair{"p-density", p}}) {
            TfmGraph* g = commands.run(*findAnalysis(name), request);
            if (!g) continue;
            saveChart(g, QStringLiteral("chart-%1-bands.png").arg(QString::fromUtf8(name)));
        }
    }
    // The b charts with the Aki–Utsu series beside the truncated b and a
    // marker for every failed period or zone, the first marker's tooltip
    // shown (a picture of the screen: a tooltip is a window of its own).
    scale.prepare(QStringLiteral("Zmiany współczynnika b"), false, true);
    scale.bAkiBox()->setChecked(true);
    shot(scale, "scale-b-aki");
    scale.bAkiBox()->setChecked(false);
    const auto maximised = [&app](TfmGraph* g) {
        qobject_cast<QMdiSubWindow*>(g->parentWidget())->showMaximized();
        for (int i = 0; i < 5; ++i) app.processEvents();
    };
    const auto closeChart = [&app](TfmGraph* g) {
        qobject_cast<QMdiSubWindow*>(g->parentWidget())->close();
        app.processEvents();
    };
    const auto grabTo = [&out](QWidget* w, const QString& file) {
        const QString path = QDir(out).filePath(file);
        w->grab().save(path);
        std::printf("saved %s\n", path.toLocal8Bit().constData());
    };
    for (const char* name : {"b-changes", "zone-b"}) {
        AnalysisRequest r;
        r.period = PeriodKind::Quarters;
        for (const char* d : {"G-1", "G-2", "G-3", "G-4"})
            for (const char* z : {"1", "2", "3", "4"}) r.zones.push_back(std::string(d) + "/" + z);
        r.bStatistics.aki = true;
        TfmGraph* g = commands.run(*findAnalysis(name), r);
        if (!g) continue;
        maximised(g);
        grabTo(g, QStringLiteral("chart-%1-aki.png").arg(QString::fromUtf8(name)));
        if (!g->failureMarkers().empty()) {
            const AnalysisChart::FailureMarker& m = g->failureMarkers().front();
            const QPoint at(int(g->chart()->xAxis->coordToPixel(m.key)), g->chart()->axisRect()->bottom());
            QCursor::setPos(g->chart()->mapToGlobal(at));
            QToolTip::showText(g->chart()->mapToGlobal(at), g->failureAt(at), g->chart());
            for (int i = 0; i < 10; ++i) app.processEvents();
            const QString path =
                QDir(out).filePath(QStringLiteral("chart-%1-tooltip.png").arg(QString::fromUtf8(name)));
            QGuiApplication::primaryScreen()->grabWindow(0).save(path);
            std::printf("saved %s\n", path.toLocal8Bit().constData());
            QToolTip::hideText();
        }
        closeChart(g);
    }
    // The return period with its band (open upwards near the maximum
    // magnitude), on the linear axis and on the logarithmic one.
    {
        AnalysisRequest p;
        p.parametric.bootstrap = bands;
        if (TfmGraph* g = commands.run(*findAnalysis("p-return-period"), p)) {
            maximised(g);
            grabTo(g, QStringLiteral("chart-p-return-period-bands.png"));
            g->setAxisLogarithmic(ChartAxis::Left, true);
            for (int i = 0; i < 5; ++i) app.processEvents();
            grabTo(g, QStringLiteral("chart-p-return-period-bands-log.png"));
            closeChart(g);
        }
    }
    // The maximum-magnitude comparison: every estimator, failed ones marked.
    if (TfmGraph* g = commands.run(*findAnalysis("mmax-compare"), AnalysisRequest{})) {
        maximised(g);
        grabTo(g, QStringLiteral("chart-mmax-compare-all.png"));
        closeChart(g);
    }
    // ZORV_SHOTS_BANDS_ONLY set: the pictures so far only (a quick look at the bands).
    if (qEnvironmentVariableIsSet("ZORV_SHOTS_BANDS_ONLY")) return 0;
    for (const AnalysisEntry& e : analysisRegistry()) {
        AnalysisRequest r;
        switch (e.parameters) {
            case AnalysisParameters::None: break;
            case AnalysisParameters::Period: r.period = PeriodKind::Quarters; break;
            case AnalysisParameters::EnergyTraces: r.period = PeriodKind::WholeSpan; break;
            case AnalysisParameters::Zones:
            case AnalysisParameters::ZoneActivity:
                r.zones = {"G-1", "G-2", "G-3/1", "G-3/2", "G-4"};
                r.energyClasses = true;
                break;
            default: {
                // The hazard analyses with their dialog's defaults.
                const auto asked = commands.ask(e, e.tag);
                if (!asked) continue;
                r = *asked;
                break;
            }
        }
        if (!commands.run(e, r)) continue;
        // Every window the run opened (the time variations open several).
        int n = 0;
        for (QMdiSubWindow* frame : window.mdiArea()->subWindowList(QMdiArea::CreationOrder)) {
            auto* chart = qobject_cast<TfmGraph*>(frame->widget());
            if (!chart) continue;
            frame->showMaximized();
            for (int i = 0; i < 5; ++i) app.processEvents();
            const QString suffix = n++ ? QStringLiteral("-%1").arg(n) : QString();
            const QString file =
                QDir(out).filePath(QStringLiteral("chart-%1%2.png").arg(QString::fromUtf8(e.name), suffix));
            chart->grab().save(file);
            std::printf("saved %s\n", file.toLocal8Bit().constData());
            frame->close();
            app.processEvents();
        }
    }
    return 0;
}

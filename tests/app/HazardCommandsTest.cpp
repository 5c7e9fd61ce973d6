// The hazard commands of the main window on the sample catalogue: their two
// dialogs, the chart windows they open, cancelling a run, and the same
// tables as zorv-batch.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "SampleShell.h"
#include "analysis/AnalysisCommands.h"
#include "chart/TfmGraph.h"
#include "hazard/NonParametricTables.h"
#include "hazard/TfmHazards.h"
#include "hazard/TfmTimeVariations.h"
#include "services/ProgressWindow.h"

using namespace zorv;

namespace {

// The text table without its date columns, which each program writes in
// its own locale's short date.
QString withoutDates(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    const QStringList header = lines.value(0).split(QLatin1Char(';'));
    QList<int> dates;
    for (int i = 0; i < header.size(); ++i)
        // Dates follow each program's locale.
        if (header[i] == QStringLiteral("DataStart") || header[i] == QStringLiteral("DataKoniec") ||
            header[i] == QStringLiteral("Data"))
            dates << i;
    for (QString& line : lines) {
        QStringList fields = line.split(QLatin1Char(';'));
        for (int k = static_cast<int>(dates.size()) - 1; k >= 0; --k)
            if (dates[k] < fields.size()) fields.removeAt(dates[k]);
        line = fields.join(QLatin1Char(';'));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

class HazardCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Every hazard command opens its chart window(s) with the dialog's
    // defaults.
    void everyHazardCommandOpensItsCharts_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QList<int>>("kinds");
        for (const char* a : {"mHazard", "mMeanReturnPeriod", "mSmoothingFactor", "mHazardVsMagnitude",
                              "mPDFest", "mPDFest_adapt", "mCDFest_adapt"}) {
            const int kind = a == std::string("mHazard")              ? 6
                             : a == std::string("mMeanReturnPeriod")  ? 7
                             : a == std::string("mSmoothingFactor")   ? 8
                             : a == std::string("mHazardVsMagnitude") ? 10
                                                                      : 9;
            QTest::newRow(a) << QString::fromUtf8(a) << QList<int>{kind};
        }
        QTest::newRow("mParamHazard") << "mParamHazard" << QList<int>{12};
        QTest::newRow("mParamMRP") << "mParamMRP" << QList<int>{13};
        QTest::newRow("mParamHazardVsMagnitudy") << "mParamHazardVsMagnitudy" << QList<int>{14};
        QTest::newRow("mParamPDF") << "mParamPDF" << QList<int>{26};
        QTest::newRow("mParamCDF") << "mParamCDF" << QList<int>{27};
        QTest::newRow("mtvHazard") << "mtvHazard" << QList<int>{15};
        QTest::newRow("mShowAll") << "mShowAll" << QList<int>{15, 15, 15, 15};
    }
    void everyHazardCommandOpensItsCharts() {
        QFETCH(QString, action);
        QFETCH(QList<int>, kinds);
        ShellFixture f;
        TfmZorv& w = openSample(f);
        QAction* a = w.action(action);
        QVERIFY(a && a->isEnabled());
        a->trigger();
        QVERIFY2(f.dialogs.messages.empty(),
                 f.dialogs.messages.empty() ? "" : qPrintable(f.dialogs.messages[0].text));
        const QList<TfmGraph*> opened = charts(w);
        QCOMPARE(opened.size(), kinds.size());
        for (int i = 0; i < opened.size(); ++i) QCOMPARE(chartKindNumber(opened[i]->kind()), kinds[i]);
        if (kinds.size() == 4) {
            // Hazard, mean return period, maximum magnitude, b-value, in one slot.
            QStringList titles;
            for (TfmGraph* g : opened) titles << g->titleText();
            QCOMPARE(titles, (QStringList{"Hazard sejsmiczny", "Średni okres powrotu", "Estymator MMax",
                                          "Współczynnik b"}));
            QCOMPARE(w.windowSlots().count(opened[0]->slot()), 4);
            for (TfmGraph* g : opened) QCOMPARE(g->slot(), opened[0]->slot());
            QCOMPARE(opened[0]->sharedAnalysis(), opened[3]->sharedAnalysis());
            // The hazard chart marks the strong events.
            const ChartSeries& marks = opened[0]->series(seriesIndex("Series12"));
            QVERIFY(marks.active);
            QCOMPARE(marks.plottable()->name(), QStringLiteral("Zjawiska o m ≥ 3"));
            QVERIFY(marks.graph->dataCount() > 0);
        }
        // A nonparametric run keeps its estimate for the next one.
        if (kinds[0] <= 10 && kinds[0] != 8) QVERIFY(w.hazardCache().RequestedH() > 0.0);
    }

    void nonParametricDialog() {
        TfmHazards d;
        d.prepareNonParametric(DefaultHazardParameters(HazardKind::Hazard, 0, 0.12, true, false), 1.96, 1.15,
                               Locale::point());
        QCOMPARE(d.heading()->text(), QStringLiteral("Nieparametryczna analiza hazardu sejsmicznego"));
        QCOMPARE(d.kindTitle()->text(), QStringLiteral("Hazard sejsmiczny"));
        QVERIFY(!d.timeRange()->isHidden() && !d.magnitudeGroup()->isHidden());
        QVERIFY(d.magnitudeRange()->isHidden() && d.periodGroup()->isHidden() && d.hRange()->isHidden());
        // The automatic range starts on and leaves the range controls off.
        QVERIFY(d.automaticRange()->isChecked());
        QVERIFY(!d.timeRange()->isEnabled());
        QCOMPARE(d.timeEnd()->value(), 12.0);
        QCOMPARE(d.timeStep()->minimum(), 0.2);
        QCOMPARE(d.timeStep()->maximum(), 1.0);
        // The alternative h is given only with the search off.
        QVERIFY(!d.alternativeH()->isEnabled());
        d.search()->click();
        QVERIFY(d.alternativeH()->isEnabled());
        QCOMPARE(d.alternativeH()->decimals(), 5);
        QCOMPARE(d.alternativeH()->minimum(), 1e-5);
        // A value is edited only while its box is ticked; "Kontynuuj" needs one.
        const auto& rows = d.magnitudeRows();
        QVERIFY(rows[0].check->isChecked() && rows[0].value->isEnabled());
        QVERIFY(!rows[1].value->isEnabled());
        rows[0].check->setChecked(false);
        QVERIFY(!d.continueButton()->isEnabled());
        // Values ordered as text, without repeats: 12 before 3.
        for (int i : {0, 1, 2}) rows[static_cast<std::size_t>(i)].check->setChecked(true);
        rows[0].value->setValue(3.0);
        rows[1].value->setValue(10.0);
        rows[2].value->setValue(3.0);
        QVERIFY(d.continueButton()->isEnabled());
        // 10^(1.96·3 + 1.15) J.
        QCOMPARE(rows[0].readout->text(), QStringLiteral("1.072E+07"));
        d.automaticRange()->setChecked(false);
        d.timeEnd()->setValue(6.0);
        d.timeUnit()->setCurrentIndex(1);
        const HazardParameters p = d.nonParametric();
        QCOMPARE(p.count, 2);
        QCOMPARE(p.values[0], 10.0);
        QCOMPARE(p.values[1], 3.0);
        QVERIFY(!p.automaticRange);
        QCOMPARE(p.end, 6.0);
        QVERIFY(p.unit == TimeUnit::Quarters);
        QVERIFY(!p.useSearch && p.touched);

        // The density table: its functions, preselected by the menu entry.
        d.prepareNonParametric(
            DefaultHazardParameters(HazardKind::Probabilities, AdaptiveDensityFunction, 0.12, true, false),
            1.96, 1.15, Locale::point());
        QVERIFY(!d.functionGroup()->isHidden());
        QVERIFY(!d.function(0)->isChecked() && d.function(1)->isChecked());
        QVERIFY(!d.nonParametric().touched);
        d.function(1)->setChecked(false);
        QVERIFY(!d.continueButton()->isEnabled());
        // The magnitude range end never lies below its start.
        d.magnitudeStart()->setValue(3.0);
        QCOMPARE(d.magnitudeEnd()->minimum(), 3.0);

        // Periods D with their unit.
        d.prepareNonParametric(DefaultHazardParameters(HazardKind::HazardVsMagnitude, 0, 0.12, true, false),
                               1.96, 1.15, Locale::point());
        QCOMPARE(d.periodRows()[3].value->value(), 7.0);
        QCOMPARE(d.periodRows()[0].readout->text(), QStringLiteral("miesięcy"));
        d.timeUnit()->setCurrentIndex(1);
        QCOMPARE(d.periodRows()[0].readout->text(), QStringLiteral("kwartałów"));
        QCOMPARE(d.nonParametric().Values(), (std::vector<double>{1.0, 3.0, 5.0, 7.0}));
    }

    void parametricDialog() {
        TfmHazards d;
        d.prepareParametric(ChartKind::ParametricHazardVsMagnitude, true, 1.96, 1.15, Locale::point());
        QCOMPARE(d.heading()->text(), QStringLiteral("Parametryczna analiza hazardu sejsmicznego"));
        QCOMPARE(d.kindTitle()->text(), QStringLiteral("Hazard w funkcji magnitudy"));
        QVERIFY(d.smoothingGroup()->isHidden());
        QVERIFY(!d.periodGroup()->isHidden() && !d.magnitudeRange()->isHidden());
        ParametricRequest r = d.parametric();
        QCOMPARE(r.start, -1.0);
        QCOMPARE(r.values.size(), std::size_t(4));
        QVERIFY(r.variableUpperLimit);
        d.automaticRange()->setChecked(false);
        d.magnitudeStep()->setValue(0.1);
        r = d.parametric();
        QCOMPARE(r.step, 0.1);
        QCOMPARE(r.end, 5.0);
        d.prepareParametric(ChartKind::ParametricDistribution, false, 1.96, 1.15, Locale::point());
        QVERIFY(d.continueButton()->isEnabled());
        QVERIFY(!d.parametric().variableUpperLimit);
    }

    void timeVariationsDialog() {
        TfmTimeVariations d;
        d.prepare(TimeVariationsDefaults(4), 1.96, 1.15, Locale::point());
        QVERIFY(d.returnPeriodChart()->isChecked() && !d.hazardChart()->isChecked());
        QVERIFY(d.returnMagnitude()->isEnabled() && !d.hazardMagnitude()->isEnabled() &&
                !d.hazardPeriod()->isEnabled());
        QCOMPARE(d.windowWidth()->value(), 300);
        QCOMPARE(d.windowStep()->maximum(), 500);
        QCOMPARE(d.minEvents()->minimum(), 30);
        QCOMPARE(d.returnMagnitude()->decimals(), 3);
        QCOMPARE(d.returnEnergy()->text(), QStringLiteral("1.07e+07"));
        QCOMPARE(d.periodUnit()->text(), QStringLiteral("kwartałów"));
        QCOMPARE(d.returnUnit()->text(), QStringLiteral("(w kwartałach)"));
        d.timeUnit()->setCurrentIndex(1);
        QCOMPARE(d.periodUnit()->text(), QStringLiteral("miesięcy"));
        QCOMPARE(d.returnUnit()->text(), QStringLiteral("(w miesiącach)."));
        // The event-count boxes are hidden and unticked: no count series.
        QVERIFY(d.aboveThresholdCount()->isHidden() && d.totalCount()->isHidden());
        QCOMPARE(d.activityCode(), 3);
        d.returnPeriodChart()->setChecked(false);
        QVERIFY(!d.continueButton()->isEnabled());
        d.bValueChart()->setChecked(true);
        d.bValueMarkers()->setChecked(false);
        d.windowStep()->setValue(10);
        const TimeVariationsParameters p = d.parameters();
        QVERIFY(p.bValueChart && !p.bValueMarkers && !p.returnPeriodChart);
        QCOMPARE(p.windowStep, 10);
        QVERIFY(p.unit == TimeUnit::Months);
    }

    // "Anuluj" during a run: no chart, and the kept estimate as it was.
    void cancellingARunLeavesNothing() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.action(QStringLiteral("mMeanReturnPeriod"))->trigger();
        QCOMPARE(charts(w).size(), 1);
        const double h = w.hazardCache().RequestedH();
        QVERIFY(h > 0.0);
        // The next run searches anew (the option clicked) and is stopped.
        f.answer = [](QDialog& d) {
            if (auto* h = qobject_cast<TfmHazards*>(&d)) {
                h->search()->click();
                h->search()->click();
            }
            return int(QDialog::Accepted);
        };
        // "Anuluj" pressed at every turn of the event loop while the run goes.
        QTimer press;
        press.setInterval(0);
        connect(&press, &QTimer::timeout, &w, [&] {
            if (w.progressWindow().isVisible()) w.progressWindow().cancelButton()->click();
        });
        press.start();
        w.action(QStringLiteral("mHazard"))->trigger();
        press.stop();
        QCOMPARE(charts(w).size(), 1);
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Przetwarzanie wstrzymane"));
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Proces został przerwany przez użytkownika"));
        QVERIFY(!w.progressWindow().isVisible());
        // The failed run did not store an estimate of its own.
        QVERIFY(w.hazardCache().RequestedH() == h || w.hazardCache().RequestedH() == -1.0);
        QVERIFY(charts(w).first()->analysis().GetTable()->recordCount() > 0);
    }

    // Windows without an estimate keep their note; the charts still open.
    void failingWindowsKeepTheirNote() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        f.answer = [](QDialog& d) {
            if (auto* t = qobject_cast<TfmTimeVariations*>(&d)) {
                t->windowWidth()->setValue(30);
                t->minEvents()->setValue(300);
            }
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mtvBeta"))->trigger();
        QCOMPARE(charts(w).size(), 1);
        const Table& t = *charts(w).first()->analysis().GetTable();
        const int note = t.requireField("Opis");
        int noted = 0;
        for (std::size_t i = 0; i < t.recordCount(); ++i)
            noted += t.column(note).textAt(t.rowOfRecord(i)) == "Zbyt mała ilość rekordów";
        QVERIFY(noted > 0);
    }

    // The desktop command and zorv-batch build the same table.
    void sameTablesAsTheBatchProgram_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("nonparametric hazard") << "mHazard"
                                              << "np-hazard" << QStringList{};
        QTest::newRow("parametric return period") << "mParamMRP"
                                                  << "p-return-period" << QStringList{};
        // The dialog's time unit starts at quarters.
        QTest::newRow("time variations") << "mtvMMaxEst"
                                         << "time-variations" << QStringList{"--time-unit", "quarters"};
    }
    void sameTablesAsTheBatchProgram() {
        QFETCH(QString, action);
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.action(action)->trigger();
        QCOMPARE(charts(w).size(), 1);
        const QString gui = f.dir.filePath(QStringLiteral("gui.csv"));
        QVERIFY(charts(w).first()->analysis().SaveTableAsText(gui.toStdString(), ";"));
        const QString cli = f.dir.filePath(QStringLiteral("cli.csv"));
        QProcess batch;
        batch.start(QStringLiteral(ZORV_BATCH),
                    QStringList{name} + options +
                        QStringList{QStringLiteral("--settings"), f.iniPath(), QStringLiteral("--table"), cli,
                                    QStringLiteral("--locale"), QStringLiteral("en"), sampleCopy(f)});
        QVERIFY(batch.waitForFinished(120000));
        QVERIFY2(batch.exitCode() == 0, batch.readAllStandardError().constData());
        QVERIFY(readAll(gui).count(QLatin1Char('\n')) > 1);
        QCOMPARE(withoutDates(readAll(gui)), withoutDates(readAll(cli)));
    }
};

QTEST_MAIN(HazardCommandsTest)
#include "HazardCommandsTest.moc"

// The "Przedział ufności" row of the hazard dialogs: its defaults and
// limits, the density table it gives through the main window (the same as
// zorv-batch's, with the band drawn on the chart), and the choice offered
// again by the next opening of the dialogs in the session.

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include "SampleShell.h"
#include "hazard/BootstrapBox.h"
#include "hazard/TfmHazards.h"
#include "hazard/TfmTimeVariations.h"
#include "qcustomplot.h"

using namespace zorv;

namespace {

// The options a dialog offered when it opened, and what the script set.
struct Offered {
    bool seen = false;
    BootstrapOptions options;
};

BootstrapBox* boxOf(QDialog& d) {
    if (auto* h = qobject_cast<TfmHazards*>(&d)) return h->bootstrap();
    if (auto* t = qobject_cast<TfmTimeVariations*>(&d)) return t->bootstrap();
    return nullptr;
}

}  // namespace

class BootstrapBoxTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void defaultsLimitsAndRoundTrip() {
        BootstrapBox box;
        // Off, B = 200, 90 %; B and the level wait for the check box.
        QVERIFY(!box.enabled()->isChecked());
        QCOMPARE(box.replicates()->value(), 200);
        QCOMPARE(box.level()->value(), 90.0);
        QVERIFY(!box.replicates()->isEnabled() && !box.level()->isEnabled());
        QVERIFY(!box.options().enabled);
        box.enabled()->click();
        QVERIFY(box.replicates()->isEnabled() && box.level()->isEnabled());
        box.enabled()->click();
        QVERIFY(!box.replicates()->isEnabled() && !box.level()->isEnabled());
        // The limits of the core's check, so that the box never offers a
        // value the run refuses.
        QCOMPARE(box.replicates()->minimum(), kMinReplicates);
        QCOMPARE(box.replicates()->maximum(), kMaxReplicates);
        QCOMPARE(box.level()->minimum(), 100.0 * kMinLevel);
        QCOMPARE(box.level()->maximum(), 100.0 * kMaxLevel);
        box.replicates()->setValue(5);
        QCOMPARE(box.replicates()->value(), kMinReplicates);
        box.level()->setValue(99.99);
        QCOMPARE(box.level()->value(), 100.0 * kMaxLevel);
        // options() gives back what setOptions() set, and the check box state
        // sets the spin boxes' state.
        BootstrapOptions o;
        o.enabled = true;
        o.replicates = 321;
        o.level = 0.95;
        box.setOptions(o);
        QVERIFY(box.replicates()->isEnabled() && box.level()->isEnabled());
        const BootstrapOptions back = box.options();
        QVERIFY(back.enabled);
        QCOMPARE(back.replicates, 321);
        QCOMPARE(back.level, 0.95);
        QVERIFY(!BootstrapProblem(back));
        box.setOptions(BootstrapOptions{});
        QVERIFY(!box.options().enabled && !box.level()->isEnabled());
        QCOMPARE(box.options().replicates, 200);
    }

    // The density table with its bands through the dialog, the same as
    // zorv-batch's for the same parameters, and its band on the chart.
    void densityBandsAsTheBatchProgram() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        f.answer = [](QDialog& d) {
            if (auto* h = qobject_cast<TfmHazards*>(&d)) {
                for (int i : {0, 1, 2}) h->function(i)->setChecked(true);
                h->automaticRange()->setChecked(false);
                h->magnitudeStart()->setValue(1.4);
                h->magnitudeEnd()->setValue(2.5);
                h->magnitudeStep()->setValue(0.1);
                h->bootstrap()->enabled()->setChecked(true);
                h->bootstrap()->replicates()->setValue(20);
                h->bootstrap()->level()->setValue(80.0);
            }
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mPDFest"))->trigger();
        QVERIFY2(f.dialogs.messages.empty(),
                 f.dialogs.messages.empty() ? "" : qPrintable(f.dialogs.messages[0].text));
        QCOMPARE(charts(w).size(), 1);
        TfmGraph& g = *charts(w).first();
        const Table& t = *g.analysis().GetTable();
        for (const char* name :
             {"pdf_est_lo", "pdf_est_hi", "pdf_ad_lo", "pdf_ad_hi", "cdf_ad_lo", "cdf_ad_hi"})
            QVERIFY2(t.fieldIndex(name) >= 0, name);
        // One shaded band per drawn function, named after its line.
        int bands = 0;
        for (int i = 0; i < g.chart()->graphCount(); ++i)
            bands += g.chart()->graph(i)->name().endsWith(QStringLiteral(" (przedział ufności)")) &&
                     g.chart()->graph(i)->brush().style() != Qt::NoBrush;
        QCOMPARE(bands, 3);

        const QString gui = f.dir.filePath(QStringLiteral("gui.csv"));
        QVERIFY(g.analysis().SaveTableAsText(gui.toStdString(), ";"));
        const QString cli = f.dir.filePath(QStringLiteral("cli.csv"));
        QProcess batch;
        batch.start(QStringLiteral(ZORV_BATCH),
                    QStringList{"np-density", "--start", "1.4", "--end", "2.5", "--step", "0.1",
                                "--bootstrap", "20", "--level", "80", "--settings", f.iniPath(), "--table",
                                cli, "--locale", "en", sampleCopy(f)});
        QVERIFY(batch.waitForFinished(120000));
        QVERIFY2(batch.exitCode() == 0, batch.readAllStandardError().constData());
        QVERIFY(readAll(gui).count(QLatin1Char('\n')) > 5);
        QCOMPARE(readAll(gui), readAll(cli));
    }

    // The choice of the last accepted dialog comes back at its next opening,
    // in each dialog on its own; a cancelled dialog changes nothing.
    void dialogsOfferTheLastChoiceAgain() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        Offered offered;
        BootstrapOptions set;
        bool accept = true;
        f.answer = [&](QDialog& d) {
            BootstrapBox* box = boxOf(d);
            if (!box) return int(QDialog::Accepted);
            offered = {true, box->options()};
            box->setOptions(set);
            return int(accept ? QDialog::Accepted : QDialog::Rejected);
        };
        // A parametric run (quick) with the bands at B = 25, 80 %.
        set.enabled = true;
        set.replicates = 25;
        set.level = 0.8;
        w.action(QStringLiteral("mParamMRP"))->trigger();
        QVERIFY(offered.seen && !offered.options.enabled);
        QCOMPARE(charts(w).size(), 1);
        QVERIFY(charts(w).first()->analysis().GetTable()->fieldIndex("MRP_lo") >= 0);
        // The next opening of the same dialog, in the other mode, shows it;
        // cancelled, with the option off.
        set = BootstrapOptions{};
        accept = false;
        offered = {};
        w.action(QStringLiteral("mHazard"))->trigger();
        QVERIFY(offered.seen && offered.options.enabled);
        QCOMPARE(offered.options.replicates, 25);
        QCOMPARE(offered.options.level, 0.8);
        // The cancel kept the choice of the last run.
        offered = {};
        w.action(QStringLiteral("mParamPDF"))->trigger();
        QVERIFY(offered.seen && offered.options.enabled);
        QCOMPARE(offered.options.replicates, 25);
        // The time variations have their own, still off.
        offered = {};
        w.action(QStringLiteral("mtvMMaxEst"))->trigger();
        QVERIFY(offered.seen && !offered.options.enabled);
        // Switched on there and run: offered there next time.
        set.enabled = true;
        set.replicates = 20;
        set.level = 0.9;
        accept = true;
        w.action(QStringLiteral("mtvMMaxEst"))->trigger();
        QVERIFY2(f.dialogs.messages.empty(),
                 f.dialogs.messages.empty() ? "" : qPrintable(f.dialogs.messages[0].text));
        accept = false;
        offered = {};
        w.action(QStringLiteral("mtvMMaxEst"))->trigger();
        QVERIFY(offered.seen && offered.options.enabled);
        QCOMPARE(offered.options.replicates, 20);
        // An accepted run with the option off turns it off for the next.
        set = BootstrapOptions{};
        accept = true;
        w.action(QStringLiteral("mParamMRP"))->trigger();
        accept = false;
        offered = {};
        w.action(QStringLiteral("mParamMRP"))->trigger();
        QVERIFY(offered.seen && !offered.options.enabled);
    }

    // A new session starts with the option off: the choice is not stored in
    // the settings file.
    void aNewSessionStartsOff() {
        ShellFixture f;
        openSample(f);
        Offered offered;
        const auto answer = [&](QDialog& d) {
            BootstrapBox* box = boxOf(d);
            if (!box) return int(QDialog::Accepted);
            offered = {true, box->options()};
            BootstrapOptions on;
            on.enabled = true;
            on.replicates = 20;
            box->setOptions(on);
            return int(QDialog::Accepted);
        };
        f.answer = answer;
        f.window->action(QStringLiteral("mParamMRP"))->trigger();
        QVERIFY(offered.seen);
        // The program ends, its settings written, and starts again.
        f.window.reset();
        // (The keys only: the test's folder, in the paths, bears its name.)
        QVERIFY(readAll(f.iniPath()).contains(QLatin1Char('=')));
        for (const QString& line : readAll(f.iniPath()).split(QLatin1Char('\n')))
            QVERIFY2(!line.section(QLatin1Char('='), 0, 0)
                          .contains(QStringLiteral("ootstrap"), Qt::CaseInsensitive),
                     qPrintable(line));
        f.answer = nullptr;
        openSample(f);
        f.answer = answer;
        offered = {};
        f.window->action(QStringLiteral("mParamMRP"))->trigger();
        QVERIFY(offered.seen && !offered.options.enabled);
    }
};

QTEST_MAIN(BootstrapBoxTest)
#include "BootstrapBoxTest.moc"

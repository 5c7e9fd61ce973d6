// The preferences dialog: its controls are the live preferences; only
// "Zastosuj" and "OK" write the store; the ranges and enabling rules of its
// controls; the reset.

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

#include "ShellFixture.h"
#include "catalogue/TfmMainBase.h"
#include "catalogue/TfmPreferences.h"
#include "charts/LocationMap.h"
#include "report/ReportPrinting.h"
#include "services/ShellTexts.h"

using namespace zorv;

namespace {

QString stored(const ShellFixture& f, const char* key) {
    return QSettings(f.iniPath(), QSettings::IniFormat).value(QString::fromLatin1(key)).toString();
}

template <class W>
W* control(TfmPreferences& d, const char* name) {
    W* w = d.findChild<W*>(QString::fromLatin1(name));
    if (!w) qFatal("no control %s", name);
    return w;
}

}  // namespace

class PreferencesDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void editsAreLiveAndOnlyApplyStores() {
        ShellFixture f;
        TfmZorv& w = f.start();
        TfmPreferences& d = w.preferencesDialog();
        d.show();
        QVERIFY(!d.applyButton()->isEnabled());
        control<QDoubleSpinBox>(d, "a")->setValue(2.5);
        QCOMPARE(w.preferences().a, 2.5);
        QVERIFY(d.applyButton()->isEnabled());
        QCOMPARE(stored(f, "Application/aCoeff"), QStringLiteral("1.96"));

        // Cancel: the store keeps the old value, the program the new one.
        d.cancelButton()->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(stored(f, "Application/aCoeff"), QStringLiteral("1.96"));
        QCOMPARE(w.preferences().a, 2.5);
        QCOMPARE(w.analysisSettings().a, 2.5);  // refreshed after closing
        d.show();
        QCOMPARE(control<QDoubleSpinBox>(d, "a")->value(), 2.5);

        // Apply writes and waits for the next edit.
        d.applyButton()->click();
        QCOMPARE(QSettings(f.iniPath(), QSettings::IniFormat).value("Application/aCoeff").toDouble(), 2.5);
        QVERIFY(!d.applyButton()->isEnabled());

        // OK writes and closes.
        QLineEdit* magnitude = control<QLineEdit>(d, "Magnituda");
        magnitude->clear();
        QTest::keyClicks(magnitude, QStringLiteral("ML"));
        QCOMPARE(w.preferences().Magnituda, std::string("ML"));
        d.okButton()->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(stored(f, "Application/Magnituda"), QStringLiteral("ML"));
        QCOMPARE(w.analysisSettings().MagnitudeField, std::string("ML"));
    }

    void valuesApplyDoesNotStoreLastOnlyThisRun() {
        ShellFixture f;
        TfmZorv& w = f.start();
        TfmPreferences& d = w.preferencesDialog();
        d.show();
        // The hour field and the folders do not count as edits.
        QLineEdit* hour = control<QLineEdit>(d, "Godzina");
        hour->clear();
        QTest::keyClicks(hour, QStringLiteral("HH"));
        QLineEdit* work = control<QLineEdit>(d, "WorkingDirectory");
        QTest::keyClicks(work, QStringLiteral("/x"));
        QVERIFY(!d.applyButton()->isEnabled());
        QCOMPARE(w.preferences().Godzina, std::string("HH"));
        // The accuracy track bar counts, but is not stored either.
        control<QSlider>(d, "Epsilon")->setValue(0);
        QVERIFY(d.applyButton()->isEnabled());
        d.applyButton()->click();
        QCOMPARE(stored(f, "Application/Godzina"), QStringLiteral("GODZ"));
        QCOMPARE(stored(f, "Application/Epsilon"), QStringLiteral("2"));
        QCOMPARE(stored(f, "Directories/WorkDir"), f.paths().documentsDir + QStringLiteral("/x"));
        d.reject();
        QCOMPARE(w.analysisSettings().Epsilon, 1e-3);

        // The next start shows the stored values again.
        w.close();
        f.window.reset();
        TfmZorv& again = f.start();
        QCOMPARE(again.preferences().Godzina, std::string("GODZ"));
        QCOMPARE(again.preferences().Epsilon, 2);
        QCOMPARE(again.analysisSettings().Epsilon, 1e-5);
    }

    void ranges_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("decimals");
        QTest::newRow("a") << "a" << 0.0 << 10.0 << 0.01 << 2;
        QTest::newRow("b") << "b" << 0.0 << 10.0 << 0.01 << 2;
        QTest::newRow("MMin") << "MMin" << 0.0 << 10.0 << 0.1 << 3;
        QTest::newRow("RTNIStart") << "RTNIStart" << 0.001 << 1.0 << 0.1 << 3;
        QTest::newRow("RTMIStart") << "RTMIStart" << 0.001 << 1.0 << 0.1 << 3;
        QTest::newRow("RTMIEnd") << "RTMIEnd" << 0.001 << 1.0 << 0.1 << 3;
        QTest::newRow("H") << "H" << 0.001 << 1.0 << 0.01 << 3;
        QTest::newRow("PrinterGraphWidth") << "PrinterGraphWidth" << 1.0 << 30.0 << 0.5 << 1;
        QTest::newRow("PrinterGraphHeight") << "PrinterGraphHeight" << 1.0 << 30.0 << 0.5 << 1;
        QTest::newRow("Iterations") << "Iterations" << 10.0 << 100.0 << 5.0 << 0;
        QTest::newRow("IntegralIterations") << "IntegralIterations" << 10.0 << 200.0 << 5.0 << 0;
        QTest::newRow("GraphWidth") << "GraphWidth" << 100.0 << 1000.0 << 50.0 << 0;
        QTest::newRow("GraphHeight") << "GraphHeight" << 100.0 << 1000.0 << 50.0 << 0;
        QTest::newRow("JPEGQuality") << "JPEGQuality" << 1.0 << 100.0 << 5.0 << 0;
    }

    void ranges() {
        QFETCH(QString, name);
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, step);
        QFETCH(int, decimals);
        ShellFixture f;
        TfmZorv& w = f.start();
        TfmPreferences& d = w.preferencesDialog();
        if (auto* s = d.findChild<QDoubleSpinBox*>(name)) {
            QCOMPARE(s->minimum(), min);
            QCOMPARE(s->maximum(), max);
            QCOMPARE(s->singleStep(), step);
            QCOMPARE(s->decimals(), decimals);
        } else {
            auto* i = d.findChild<QSpinBox*>(name);
            QVERIFY(i);
            QCOMPARE(i->minimum(), int(min));
            QCOMPARE(i->maximum(), int(max));
            QCOMPARE(i->singleStep(), int(step));
            QCOMPARE(decimals, 0);
        }
    }

    void enablingRules() {
        ShellFixture f;
        TfmZorv& w = f.start();
        TfmPreferences& d = w.preferencesDialog();
        QVERIFY(!control<QLineEdit>(d, "LocationFilter")->isEnabled());
        QCOMPARE(control<QLineEdit>(d, "LocationFilter")->text(), QStringLiteral("<>0"));
        auto* zoom = control<QCheckBox>(d, "GraphZoom");
        auto* block = control<QCheckBox>(d, "BlockZoomForActivities");
        QVERIFY(block->isEnabled());
        zoom->setChecked(false);
        QVERIFY(!block->isEnabled());
        QVERIFY(!w.preferences().GraphZoom);
        zoom->setChecked(true);
        QVERIFY(block->isEnabled());

        // The station grid works only while "Rejestratory" is ticked; its
        // "Zapisz" only marks the dialog as changed.
        QTableWidget* grid = d.stationGrid();
        QVERIFY(!grid->isEnabled());
        control<QCheckBox>(d, "Rejestratory")->setChecked(true);
        QVERIFY(grid->isEnabled());
        d.applyButton()->click();
        QVERIFY(!d.applyButton()->isEnabled());
        control<QPushButton>(d, "StationAdd")->click();
        control<QPushButton>(d, "StationAdd")->click();
        QCOMPARE(grid->rowCount(), 2);
        control<QPushButton>(d, "StationRemove")->click();
        QCOMPARE(grid->rowCount(), 1);
        QVERIFY(!d.applyButton()->isEnabled());
        control<QPushButton>(d, "StationSave")->click();
        QVERIFY(d.applyButton()->isEnabled());

        // Nine pages, chosen by their buttons.
        QCOMPARE(std::size(TfmPreferences::kPageNames), std::size_t{9});
        d.showPage(6);
        QCOMPARE(d.currentPage(), 6);
    }

    void thresholdEnergyFollowsTheCoefficients() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.preferences().a = 1.96;
        w.preferences().b = 1.15;
        w.preferences().MMin = 1.3;
        TfmPreferences& d = w.preferencesDialog();
        d.loadControls();
        const QString point = d.thresholdEnergyText();
        // 10^(1.96·1.3 + 1.15) = 10^3.698 J, in the user's decimal mark.
        QVERIFY2(point == QStringLiteral("4.99e+03") || point == QStringLiteral("4,99e+03"),
                 qPrintable(point));
        const QString mark = point.mid(1, 1);
        control<QDoubleSpinBox>(d, "MMin")->setValue(2.0);  // 10^5.07
        QCOMPARE(d.thresholdEnergyText(), QStringLiteral("1") + mark + QStringLiteral("17e+05"));
        control<QDoubleSpinBox>(d, "b")->setValue(2.15);  // ten times more
        QCOMPARE(d.thresholdEnergyText(), QStringLiteral("1") + mark + QStringLiteral("17e+06"));
        control<QDoubleSpinBox>(d, "a")->setValue(1.0);  // 10^4.15
        QCOMPARE(d.thresholdEnergyText(), QStringLiteral("1") + mark + QStringLiteral("41e+04"));
    }

    void reportPageKeepsItsOwnValues() {
        ShellFixture f;
        TfmZorv& w = f.start();
        TfmPreferences& d = w.preferencesDialog();
        QCOMPARE(w.analysisSettings().ReportFontName, d.reportFonts().rtf.family().toStdString());
        control<QDoubleSpinBox>(d, "PrinterGraphWidth")->setValue(20.5);
        QCOMPARE(w.preferences().PrinterGraphWidth, 20.5);
        QVERIFY(!d.applyButton()->isEnabled());
        QVERIFY(d.findChild<QLabel*>(QStringLiteral("rtfFView")));
    }

    // The default chart template is chosen with "..." and cleared with
    // "Brak"; "Zastosuj" stores it. The section fonts of the page are those
    // reports print with.
    void defaultTemplateAndReportFonts() {
        ShellFixture f;
        TfmZorv& w = f.start();
        TfmPreferences& d = w.preferencesDialog();
        d.loadControls();
        auto* edit = control<QLineEdit>(d, "TemplateFileName");
        QVERIFY(!edit->isHidden() && edit->isReadOnly());
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("styl.tpt"));
        control<QPushButton>(d, "ChooseTemplate")->click();
        QCOMPARE(edit->text(), f.dialogs.fileAnswer);
        QCOMPARE(w.preferences().TemplateFileName, f.dialogs.fileAnswer.toStdString());
        QVERIFY(d.applyButton()->isEnabled());
        d.applyButton()->click();
        QCOMPARE(stored(f, "Graphs/TemplateFileName"), f.dialogs.fileAnswer);
        control<QPushButton>(d, "ClearTemplate")->click();
        QVERIFY(w.preferences().TemplateFileName.empty());
        // A cancelled file dialog changes nothing.
        f.dialogs.fileAnswer.clear();
        control<QPushButton>(d, "ChooseTemplate")->click();
        QVERIFY(w.preferences().TemplateFileName.empty());

        QCOMPARE(d.reportFonts().title.family(), QStringLiteral("Arial"));
        QCOMPARE(d.reportFonts().title.pointSizeF(), 20.0);
        QCOMPARE(d.reportFonts().parameters.pointSizeF(), 10.0);
        const std::array<PrintSectionText, kReportSections> sections = reportSections({}, w.preferences());
        QCOMPARE(sections[TitleSection].font.pointSizeF(), d.reportFonts().title.pointSizeF());
        w.preferences().TableFont = {"Courier New", 9, true, false};
        const auto changed = reportSections({}, w.preferences());
        QCOMPARE(changed[TableSection].font.family(), QStringLiteral("Courier New"));
        QCOMPARE(changed[TableSection].font.pointSizeF(), 9.0);
        QVERIFY(changed[TableSection].font.bold());
    }

    void mapAxesFollowApplyAndOk() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.openCatalogue(makeCatalogue(8), QStringLiteral("osie.dbf"));  // the toggles need a catalogue
        LocationMap* map = w.catalogueWindow().map();
        QAction* x = w.action(QStringLiteral("mInverseXAxis"));
        QAction* y = w.action(QStringLiteral("mInverseYAxis"));
        const bool x0 = w.preferences().InverseXAxis, y0 = w.preferences().InverseYAxis;
        QCOMPARE(map->xAxis->rangeReversed(), x0);
        TfmPreferences& d = w.preferencesDialog();
        d.show();
        control<QCheckBox>(d, "InverseXAxis")->setChecked(!x0);
        QCOMPARE(map->xAxis->rangeReversed(), x0);  // not before it is applied
        d.applyButton()->click();
        QCOMPARE(map->xAxis->rangeReversed(), !x0);
        QCOMPARE(x->isChecked(), !x0);

        // Other preferences applied leave the menu's toggle of Y alone.
        y->trigger();
        QCOMPARE(map->yAxis->rangeReversed(), !y0);
        control<QDoubleSpinBox>(d, "a")->setValue(2.5);
        d.okButton()->click();
        QCOMPARE(map->yAxis->rangeReversed(), !y0);
        QCOMPARE(map->xAxis->rangeReversed(), !x0);

        // OK applies a changed inversion too, at the next showing as well.
        d.show();
        control<QCheckBox>(d, "InverseXAxis")->setChecked(x0);
        control<QCheckBox>(d, "InverseYAxis")->setChecked(!y0);
        d.okButton()->click();
        QCOMPARE(map->xAxis->rangeReversed(), x0);
        QCOMPARE(x->isChecked(), x0);
        QCOMPARE(map->yAxis->rangeReversed(), !y0);
        QCOMPARE(y->isChecked(), !y0);
    }

    void resetAsksThenDeletesAndCloses() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.show();
        TfmPreferences& d = w.preferencesDialog();
        d.show();
        f.dialogs.confirmAnswers = {false};
        d.resetButton()->click();
        QCOMPARE(f.dialogs.messages.back().title, QStringLiteral("Potwierdź..."));
        QCOMPARE(f.dialogs.messages.back().text, kResetQuestion);
        QVERIFY(QFile::exists(f.iniPath()));
        QVERIFY(d.isVisible());

        d.resetButton()->click();
        QVERIFY(!d.isVisible());
        QVERIFY(!QFile::exists(f.iniPath()));
        QTRY_VERIFY(!w.isVisible());

        // The next start writes the defaults without a message.
        f.dialogs.messages.clear();
        f.window.reset();
        f.start();
        QVERIFY(QFile::exists(f.iniPath()));
        QVERIFY(f.dialogs.messages.empty());
    }
};

QTEST_MAIN(PreferencesDialogTest)
#include "PreferencesDialogTest.moc"

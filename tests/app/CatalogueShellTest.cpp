// Opening catalogues (check, base properties, zone tree, status texts), bad
// and incomplete catalogues, every filter source and their joins, the write
// protection and the commands that follow the catalogue state.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <algorithm>

#include "SampleShell.h"
#include "catalogue/CatalogueModel.h"
#include "catalogue/StructureCheck.h"
#include "catalogue/TfmBasePreferences.h"
#include "catalogue/TfmMainBase.h"
#include "catalogue/TfmSort.h"
#include "charts/LocationMap.h"
#include "dbase/DbaseFile.h"
#include "files/TableFiles.h"
#include "help/HelpWindow.h"
#include "services/UserLocale.h"
#include "text/DateText.h"
#include "text/Dates.h"

using namespace zorv;

namespace {

QString samplePath(const char* name) { return QStringLiteral(ZORV_SAMPLE_DIR "/") + QString::fromUtf8(name); }

// The sample copied into the fixture's folder: tests never write the bundled file.
QString sampleCopy(ShellFixture& f, const char* name) {
    const QString to = f.dir.filePath(QString::fromUtf8(name));
    QFile::copy(samplePath(name), to);
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    return to;
}

QString writeCatalogue(ShellFixture& f, const QString& name, const Table& t) {
    const QString p = f.dir.filePath(name);
    writeDbase(t, p.toStdString());
    return p;
}

// Records of the table that pass a predicate on physical rows, counted
// without the filter engine.
template <class Pred>
std::size_t countRows(const Table& t, Pred pred) {
    std::size_t n = 0;
    for (std::size_t r = 0; r < t.physicalCount(); ++r) n += pred(r) ? 1 : 0;
    return n;
}

// Names the step of a scenario that follows: a failed check's report comes
// after the name of the step it failed in.
void step(const char* name) { qInfo("step: %s", name); }

}  // namespace

class CatalogueShellTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void openingTheSampleCatalogue_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("dBase") << QStringLiteral("katalog.dbf");
        QTest::newRow("Paradox") << QStringLiteral("katalog.db");
    }
    void openingTheSampleCatalogue() {
        QFETCH(QString, file);
        ShellFixture f;
        TfmZorv& w = f.start();
        step("no catalogue yet");
        QVERIFY(!w.action(QStringLiteral("mFilter"))->isEnabled());
        QVERIFY(!w.catalogueWindow().pages()->isTabVisible(TfmMainBase::MapPage));
        QString checkReport;
        QString thresholdEnergy;
        f.answer = [&](QDialog& d) {
            if (auto* check = qobject_cast<TfmBaseCheck*>(&d)) {
                check->runCheck();
                checkReport = check->reportMemo()->toPlainText();
                // Passed: only "Wyświetl raport" and "Kontynuuj".
                if (!check->reportButton()->isEnabled() || check->repairButton()->isEnabled() ||
                    !check->continueButton()->isEnabled())
                    return int(QDialog::Rejected);
                check->continueButton()->click();
                return check->result();
            }
            auto* props = qobject_cast<TfmBasePreferences*>(&d);
            if (!props) return int(QDialog::Rejected);
            thresholdEnergy = props->thresholdEnergyText();
            props->okButton()->click();
            return props->result();
        };
        step("the new-base command with its check and base properties");
        w.dialogs();
        f.dialogs.fileAnswer = sampleCopy(f, file.toUtf8().constData());
        w.action(QStringLiteral("mNewBase"))->trigger();
        QCOMPARE(f.dialogsShown, (std::vector<QString>{QStringLiteral("TfmBaseCheck"),
                                                       QStringLiteral("TfmBasePreferences")}));
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(checkReport.contains(QStringLiteral("Brak błędów")));
        QVERIFY(w.basePropertiesSet());
        step("the open catalogue: counts, titles, threshold");
        const std::size_t n = w.catalogue()->recordCount();
        QVERIFY(n > 15000);
        QCOMPARE(w.catalogueStatus(), file + QStringLiteral(" (Rekordów: %1)").arg(n));
        QCOMPARE(w.recordStatus(), QStringLiteral("Rekordów: %1/%1").arg(n));
        QCOMPARE(w.catalogueFrame()->windowTitle(), file + QStringLiteral(" (Rekordów: %1/%1)").arg(n));
        QVERIFY(!w.catalogueFrame()->isMinimized());
        // The threshold energy of MMin 1.3 with the default relation.
        QCOMPARE(thresholdEnergy, QStringLiteral("4.99e+03"));
        QCOMPARE(w.analysisSettings().MMin, 1.3);
        step("zones and commands");
        // Four departments of four zones each, under the title's root.
        QCOMPARE(w.zones().departments, (std::vector<std::string>{"G-1", "G-2", "G-3", "G-4"}));
        QCOMPARE(w.zones().zones.size(), std::size_t(16));
        QTreeWidget* tree = w.catalogueWindow().zoneTree();
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Katalog"));
        QCOMPARE(tree->topLevelItem(0)->childCount(), 4);
        QCOMPARE(w.catalogueWindow().zoneList()->count(), 16);
        QCOMPARE(w.filterBarText(), QStringLiteral("   "));
        // The dialog showed the protection as it was: off at the start.
        QVERIFY(!w.action(QStringLiteral("mLockUnlock"))->isChecked());
        QVERIFY(!w.catalogue()->readOnly());
        for (const char* c :
             {"mFilter", "mClearFilters", "mLocalizedOnly", "mSetZone", "mAND", "mTree", "mNext"})
            QVERIFY2(w.action(QString::fromUtf8(c))->isEnabled(), c);
        QVERIFY(!w.action(QStringLiteral("mPrevious"))->isEnabled());
        QCOMPARE(w.catalogueWindow().model()->rowCount(), int(n));

        step("the summaries and the map");
        // The summaries and the map: one row per zone, one series per
        // department with located events.
        w.action(QStringLiteral("mShowLocalizacje"))->trigger();
        QCOMPARE(w.catalogueWindow().pages()->currentIndex(), int(TfmMainBase::MapPage));
        QCOMPARE(w.catalogueWindow().zoneGrid()->rowCount(), 16);
        QCOMPARE(w.catalogueWindow().departmentGrid()->rowCount(), 4);
        QCOMPARE(w.catalogueWindow().map()->departmentSeriesCount(), 4);
        QCOMPARE(w.catalogueWindow().timeChart()->graphCount(), 4);
        int total = 0;
        for (int r = 0; r < 4; ++r) total += w.catalogueWindow().departmentGrid()->item(r, 2)->text().toInt();
        QCOMPARE(std::size_t(total), n);

        step("closing");
        // Closing: no catalogue, map page hidden, window minimised.
        w.action(QStringLiteral("mShutDatabase"))->trigger();
        QCOMPARE(w.catalogueStatus(), QStringLiteral("Brak aktywnej bazy"));
        QCOMPARE(w.recordStatus(), QStringLiteral("Brak rekordów"));
        QVERIFY(!w.catalogueWindow().pages()->isTabVisible(TfmMainBase::MapPage));
        QVERIFY(w.catalogueFrame()->isMinimized());
        QVERIFY(!w.action(QStringLiteral("mFilter"))->isEnabled());
        QCOMPARE(w.catalogueWindow().zoneList()->count(), 0);
    }

    // A catalogue another program holds for writing is offered read-only:
    // OK opens it so (its edits refused), Cancel opens nothing.
    void lockedCatalogueOpensReadOnlyOnRequest_data() {
        QTest::addColumn<bool>("check");
        QTest::newRow("with the structure check") << true;
        QTest::newRow("without it") << false;
    }
    void lockedCatalogueOpensReadOnlyOnRequest() {
        QFETCH(bool, check);
        ShellFixture f;
        TfmZorv& w = f.start();
        w.preferences().CheckDBF = check;
        const QString path = sampleCopy(f);
        const auto other = openTableFile(path.toStdString(), true);
        f.dialogs.confirmAnswers = {false};
        w.newBase(path);
        QVERIFY(!w.catalogue());
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QVERIFY(
            f.dialogs.messages[0].text.contains(QStringLiteral("jest otwarty do zapisu w innym programie")));
        QVERIFY(f.dialogs.messages[0].text.endsWith(QStringLiteral("Otworzyć go tylko do odczytu?")));
        f.dialogs.confirmAnswers = {true};
        w.newBase(path);
        QVERIFY(w.catalogue());
        QVERIFY(w.catalogue()->readOnly());
        QCOMPARE(w.catalogue()->recordCount(), other->recordCount());
        QCOMPARE(f.dialogs.messages.size(), std::size_t(2));
    }

    void cancelledFileDialogOpensNothing() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.action(QStringLiteral("mNewBase"))->trigger();
        QVERIFY(f.dialogsShown.empty());
        QVERIFY(!w.catalogue());
    }

    void damagedCatalogue() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString bad = f.dir.filePath(QStringLiteral("zly.dbf"));
        {
            QFile file(bad);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\x03\x01\x02\x03 nie jest to baza danych");
        }
        QStringList report;
        QString opening;
        f.answer = [&](QDialog& d) {
            auto* check = qobject_cast<TfmBaseCheck*>(&d);
            if (!check) return int(QDialog::Accepted);
            check->runCheck();
            for (const std::string& l : check->check().report()) report << QString::fromStdString(l);
            opening = check->indicatorText(CheckStage::Opening);
            // Nothing to repair without a table.
            if (check->repairButton()->isEnabled()) return -1;
            check->continueButton()->click();
            return check->result();
        };
        w.newBase(bad);
        QVERIFY(report.contains(QStringLiteral("Problem z otwarciem bazy danych...")));
        QVERIFY(report.contains(QStringLiteral("Interfejs BDE zwrócił następujący błąd:")));
        QVERIFY(opening.contains(QStringLiteral("✗")));
        QCOMPARE(f.dialogs.count(QString::fromUtf8(kCheckFailedMessage)), 1);
        QVERIFY(!w.catalogue());
        QVERIFY(!w.basePropertiesSet());
        QCOMPARE(w.catalogueStatus(), QStringLiteral("Brak aktywnej bazy"));

        // Without the check the engine's own text reaches the user.
        f.dialogs.messages.clear();
        f.dialogsShown.clear();
        w.preferences().CheckDBF = false;
        w.newBase(bad);
        QVERIFY(f.dialogsShown.empty());
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        const QString text = f.dialogs.messages[0].text;
        QVERIFY2(text.startsWith(QStringLiteral("Niewłasciwy format bazy lub baza uszkodzona [ ")),
                 qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral(" ].")));
        QVERIFY(text.length() > 50);
        QVERIFY(!w.catalogue());
    }

    void damagedFilesNameTheirFaultInTheErrorList_data() {
        QTest::addColumn<QString>("fixture");
        for (const char* name : {"dbase/damaged_not_dbase.dbf", "dbase/damaged_truncated_header.dbf",
                                 "dbase/damaged_header_past_end.dbf", "dbase/damaged_cut_in_fields.dbf",
                                 "dbase/damaged_no_fields.dbf", "paradox/not_paradox.db",
                                 "paradox/truncated.db", "paradox/short_header.db"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void damagedFilesNameTheirFaultInTheErrorList() {
        QFETCH(QString, fixture);
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString copy = f.dir.filePath(fixture.section(QLatin1Char('/'), -1));
        QVERIFY(QFile::copy(QStringLiteral(ZORV_TEST_DATA_DIR "/") + fixture, copy));
        QStringList errors;
        QString engineText;
        f.answer = [&](QDialog& d) {
            auto* check = qobject_cast<TfmBaseCheck*>(&d);
            if (!check) return int(QDialog::Accepted);
            check->runCheck();
            for (int i = 0; i < check->errorList()->count(); ++i)
                errors << check->errorList()->item(i)->text();
            const std::vector<std::string>& r = check->check().report();
            const auto at = std::find(r.begin(), r.end(), "Interfejs BDE zwrócił następujący błąd:");
            if (at != r.end() && at + 1 != r.end()) engineText = QString::fromStdString(*(at + 1));
            check->continueButton()->click();
            return check->result();
        };
        w.newBase(copy);
        QVERIFY(!w.catalogue());
        QVERIFY2(!engineText.isEmpty(), qPrintable(errors.join(QLatin1Char('|'))));
        QCOMPARE(errors, QStringList{engineText});
    }

    void incompleteCatalogue() {
        ShellFixture f;
        TfmZorv& w = f.start();
        Table t({{"ODDZIAL", FieldType::String, 10},
                 {"DATA", FieldType::Date},
                 {"Y", FieldType::Integer},
                 {"MAGNITUDA", FieldType::Float}});
        t.appendRecord({Value::text("G-1/1"), Value::date(38000), Value::integer(5), Value::real(1.5)});
        const QString p = writeCatalogue(f, QStringLiteral("bez_x.dbf"), t);
        QStringList report, errors;
        QString repairRecord = QStringLiteral("?"), repairError;
        f.answer = [&](QDialog& d) {
            auto* check = qobject_cast<TfmBaseCheck*>(&d);
            if (!check) return int(QDialog::Accepted);
            check->runCheck();
            report = check->reportMemo()->toPlainText().split(QLatin1Char('\n'));
            for (int i = 0; i < check->errorList()->count(); ++i)
                errors << check->errorList()->item(i)->text();
            if (check->repairButton()->isEnabled()) {
                check->repairButton()->click();
                check->repairErrorList()->setCurrentRow(0);
                repairRecord = check->repairRecordText();
                repairError = check->repairErrorText();
            }
            return int(QDialog::Rejected);
        };
        w.newBase(p);
        QVERIFY(report.contains(QStringLiteral("Współrzędna X zjawiska [X] Pole nie istnieje!")));
        QVERIFY(report.contains(QStringLiteral("Energia [ENG] Pole nie istnieje!")));
        QVERIFY(report.contains(QStringLiteral("Baza NIE MOŻE zostać otwarta")));
        QVERIFY(!report.contains(QStringLiteral("Energia [ENG] bądź ")));  // the magnitude is there
        // The error list names what is missing; it is no record's fault.
        QCOMPARE(errors, QStringList{QStringLiteral("Nie istnieją wymagane przez program pola danych: "
                                                    "Współrzędna X zjawiska [X]. "
                                                    "Baza NIE MOŻE zostać otwarta.")});
        QCOMPARE(repairError, errors.front());
        QVERIFY(repairRecord.isEmpty());
        QCOMPARE(f.dialogs.count(QString::fromUtf8(kCheckFailedMessage)), 1);
        QVERIFY(!w.catalogue());
        // With the check switched off it opens as it is.
        w.preferences().CheckDBF = false;
        f.dialogs.messages.clear();
        w.newBase(p);
        QVERIFY(w.basePropertiesSet());
        QCOMPARE(w.catalogue()->recordCount(), std::size_t(1));
        QVERIFY(f.dialogs.messages.empty());
    }

    void repairDeletesFaultyRecordsInTheFile() {
        ShellFixture f;
        TfmZorv& w = f.start();
        auto t = makeCatalogue(6);
        t->setRecNo(3);
        t->edit();
        t->setFieldValue("ENG", Value::real(0));
        t->post();
        const QString p = writeCatalogue(f, QStringLiteral("naprawa.dbf"), *t);
        f.answer = [&](QDialog& d) {
            auto* check = qobject_cast<TfmBaseCheck*>(&d);
            if (!check) return int(QDialog::Accepted);
            check->runCheck();
            if (!check->repairButton()->isEnabled() || check->errorList()->count() != 1) return -1;
            check->repairButton()->click();
            check->repairErrorList()->setCurrentRow(0);
            if (check->repairRecordText() != QStringLiteral("3")) return -2;
            if (check->repairErrorText() !=
                QStringLiteral("Wartość energii zjawiska jest ujemna lub równa zero."))
                return -3;
            f.dialogs.confirmAnswers = {false, true};
            check->deleteButton()->click();  // declined
            if (check->check().table()->recordCount() != 6) return -4;
            check->deleteButton()->click();
            check->finishRepairButton()->click();
            check->continueButton()->click();
            return check->result();
        };
        w.newBase(p);
        QCOMPARE(f.dialogs.count(QString::fromUtf8(kDeleteRecordQuestion)), 2);
        // The check is not re-run: the catalogue stays refused.
        QCOMPARE(f.dialogs.count(QString::fromUtf8(kCheckFailedMessage)), 1);
        QVERIFY(!w.catalogue());
        QCOMPARE(readDbase(p.toStdString()).physicalCount(), std::size_t(5));
        // Opened again, it passes.
        f.answer = {};
        f.dialogs.messages.clear();
        w.newBase(p);
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(w.basePropertiesSet());
    }

    void tooManyErrorsAreNamed() {
        ShellFixture f;
        TfmZorv& w = f.start();
        Table t = std::move(*makeCatalogue(150));
        for (std::size_t i = 1; i <= t.recordCount(); ++i) {
            t.setRecNo(i);
            t.edit();
            t.setFieldValue("ENG", Value::real(-1));
            t.post();
        }
        w.newBase(writeCatalogue(f, QStringLiteral("zle.dbf"), t));
        QCOMPARE(f.dialogs.count(QString::fromUtf8(kTooManyErrorsMessage)), 1);
        QCOMPARE(f.dialogs.count(QString::fromUtf8(kCheckFailedMessage)), 1);
    }

    void filterSourcesAndTheirJoins() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.newBase(sampleCopy(f, "katalog.dbf"));
        QVERIFY(w.basePropertiesSet());
        Table& t = *w.catalogue();
        const std::size_t all = t.recordCount();
        const int zf = t.fieldIndex("ODDZIAL"), xf = t.fieldIndex("X"), df = t.fieldIndex("DATA");
        const auto zone = [&](std::size_t r) { return t.column(zf).textAt(r); };
        const auto located = [&](std::size_t r) { return t.column(xf).numberAt(r) != 0; };
        TfmMainBase& cw = w.catalogueWindow();

        step("no source");
        // No source: unfiltered, three blanks, no description.
        QVERIFY(!t.filtered());
        QCOMPARE(w.filterBarText(), QStringLiteral("   "));
        QVERIFY(w.filterDescription().isEmpty());

        step("zone list and located events with AND");
        // Zone list: G-1/2 ticked and located events with AND.
        w.preferences().DescrFilter = false;
        w.action(QStringLiteral("mZone"))->trigger();
        QVERIFY(!cw.treeShown());
        QVERIFY(w.action(QStringLiteral("mTree"))->isChecked() == false);
        cw.zoneList()
            ->findItems(QStringLiteral("G-1/2"), Qt::MatchExactly)
            .front()
            ->setCheckState(Qt::Checked);
        w.hazardCache().Store(zorv::ScaleHints{0.3, 4.0, false, true});
        w.action(QStringLiteral("mLocalizedOnly"))->trigger();
        QCOMPARE(w.filterBarText(), QStringLiteral("( ODDZIAL='G-1/2' ) AND X<>0   "));
        QCOMPARE(w.filterDescription(), QStringLiteral("Strefa: G-1/2  i Zlokalizowane"));
        QCOMPARE(w.hazardCache().RequestedH(), -1.0);
        const std::size_t g12located =
            countRows(t, [&](std::size_t r) { return zone(r) == "G-1/2" && located(r); });
        QVERIFY(g12located > 0);
        QCOMPARE(t.recordCount(), g12located);
        QCOMPARE(w.recordStatus(), QStringLiteral("Rekordów: %1/%2").arg(g12located).arg(all));

        step("OR");
        // OR joins every source, the location too.
        w.action(QStringLiteral("mOR"))->trigger();
        QVERIFY(!w.action(QStringLiteral("mAND"))->isChecked());
        QCOMPARE(w.filterBarText(), QStringLiteral("( ODDZIAL='G-1/2' ) OR X<>0   "));
        w.preferences().DescrFilter = true;
        w.applyFilter();
        QCOMPARE(w.filterBarText(), QStringLiteral("Strefa: G-1/2  lub Zlokalizowane   "));
        QCOMPARE(t.recordCount(),
                 countRows(t, [&](std::size_t r) { return zone(r) == "G-1/2" || located(r); }));

        step("clearing");
        // Clearing puts everything back.
        w.action(QStringLiteral("mClearFilters"))->trigger();
        QVERIFY(!t.filtered());
        QVERIFY(w.action(QStringLiteral("mAND"))->isChecked());
        QVERIFY(!w.action(QStringLiteral("mLocalizedOnly"))->isChecked());
        QVERIFY(cw.tickedZones().empty());
        QCOMPARE(w.filterBarText(), QStringLiteral("   "));

        step("the zone tree");
        // The tree: a department, a zone, then the root again.
        w.action(QStringLiteral("mTree"))->trigger();
        QVERIFY(cw.treeShown());
        QTreeWidgetItem* root = cw.zoneTree()->topLevelItem(0);
        cw.zoneTree()->setCurrentItem(root->child(2));  // G-3
        QCOMPARE(QString::fromStdString(w.filterSources().ZoneExpression),
                 QStringLiteral("ODDZIAL = 'G-3/*'"));
        QCOMPARE(w.filterDescription(), QStringLiteral(" Strefa G-3"));
        QCOMPARE(t.recordCount(), countRows(t, [&](std::size_t r) { return zone(r).rfind("G-3/", 0) == 0; }));
        cw.zoneTree()->setCurrentItem(root->child(2)->child(1));
        QCOMPARE(w.filterDescription(), QStringLiteral(" Strefa G-3/2"));
        QCOMPARE(t.recordCount(), countRows(t, [&](std::size_t r) { return zone(r) == "G-3/2"; }));
        cw.zoneTree()->setCurrentItem(root);
        QVERIFY(w.filterSources().ZoneExpression.empty());
        QCOMPARE(t.recordCount(), all);

        step("the period dialog joined to a zone");
        // The period dialog: quarters II 2003 .. IV 2003 and an extra
        // expression, joined to a zone.
        cw.zoneTree()->setCurrentItem(root->child(0));
        f.answer = [&](QDialog& d) {
            auto* sort = qobject_cast<TfmSort*>(&d);
            if (!sort) return int(QDialog::Rejected);
            PeriodDialogValues v = sort->values();
            if (v.stYYear != 2000 || v.enYYear != 2005) return -1;  // defaults of the sample's span
            v.Scale = PeriodKind::Quarters;
            v.stQuarter = 2;
            v.stQYear = 2003;
            v.enQuarter = 4;
            v.enQYear = 2003;
            v.Exclude = true;
            v.Expression = "MAGNITUDA>=1.5";
            sort->setValues(v);
            sort->continueButton()->click();
            return sort->result();
        };
        w.action(QStringLiteral("mFilter"))->trigger();
        const std::int32_t from = dayNumber(2003, 4, 1), to = dayNumber(2003, 12, 31);
        const QString d0 = QString::fromStdString(formatDate(from, userLocale()));
        const QString d1 = QString::fromStdString(formatDate(to, userLocale()));
        QCOMPARE(QString::fromStdString(w.filterSources().PeriodExpression),
                 QStringLiteral("DATA>='%1' AND DATA<='%2'").arg(d0, d1));
        QCOMPARE(w.filterDescription(),
                 QStringLiteral(" Strefa G-1 i %1 do %2 i MAGNITUDA>=1.5").arg(d0, d1));
        const int mf = t.fieldIndex("MAGNITUDA");
        QCOMPARE(t.recordCount(), countRows(t, [&](std::size_t r) {
                     const auto day = t.column(df).int32s()[r];
                     return zone(r).rfind("G-1/", 0) == 0 && day >= from && day <= to &&
                            t.column(mf).numberAt(r) >= 1.5;
                 }));
    }

    void periodDialogRefusesBadInput() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.newBase(sampleCopy(f, "katalog.dbf"));
        TfmSort& sort = w.periodDialog();
        // "Pomoc" opens the manual at the page about filters.
        QVERIFY(!w.helpWindow());
        sort.helpButton()->click();
        QVERIFY(w.helpWindow());
        QVERIFY(w.helpWindow()->browser()->source().toString().endsWith(QStringLiteral("filtry.html")));
        PeriodDialogValues v = sort.values();
        // The start after the end.
        v.Scale = PeriodKind::Years;
        v.stYYear = 2004;
        v.enYYear = 2002;
        sort.setValues(v);
        sort.continueButton()->click();
        QCOMPARE(sort.result(), int(QDialog::Rejected));
        QCOMPARE(f.dialogs.messages.back().title, QStringLiteral("Zły filtr"));
        QCOMPARE(f.dialogs.messages.back().text,
                 QStringLiteral("Data początkowa nie może być większa od daty końcowej"));
        // A fourth quarter before a first quarter of the next year is fine.
        v.Scale = PeriodKind::Quarters;
        v.stQuarter = 4;
        v.stQYear = 2003;
        v.enQuarter = 1;
        v.enQYear = 2004;
        // An expression the engine rejects keeps the dialog open.
        v.Exclude = true;
        v.Expression = "MAGNITUDA >> 2";
        sort.setValues(v);
        f.dialogs.messages.clear();
        sort.continueButton()->click();
        QCOMPARE(sort.result(), int(QDialog::Rejected));
        QCOMPARE(f.dialogs.count(
                     QStringLiteral("Dodatkowe wyrażenie filtrujące jest błędne. Sprawdź jego poprawność.")),
                 1);
        QVERIFY(sort.expression()->hasSelectedText());
        v.Expression = "MAGNITUDA > 2";
        sort.setValues(v);
        sort.continueButton()->click();
        QCOMPARE(sort.result(), int(QDialog::Accepted));
    }

    void mapZoneAndTheLocationExpression() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.newBase(sampleCopy(f, "katalog.dbf"));
        Table& t = *w.catalogue();
        LocationMap* map = w.catalogueWindow().map();
        w.action(QStringLiteral("mShowLocalizacje"))->trigger();
        w.action(QStringLiteral("mZoomIn"))->trigger();
        const QRectF view = map->visibleArea();
        w.action(QStringLiteral("mSetZone"))->trigger();
        QVERIFY(map->zoneShown());
        QVERIFY(w.action(QStringLiteral("mLocalizedOnly"))->isChecked());
        const ZoneFilter z = mapZoneFilter("X", "Y", view.left(), view.top(), view.right(), view.bottom());
        QCOMPARE(w.filterSources().MapZoneExpression, z.expression);
        QCOMPARE(w.filterDescription(),
                 QStringLiteral("Zlokalizowane i ") + QString::fromStdString(z.description));
        // The view shows the zone at 95 %: a little more than the zone.
        QVERIFY(map->visibleArea().width() > view.width());
        const int xf = t.fieldIndex("X"), yf = t.fieldIndex("Y");
        const auto inside = [&](std::size_t r) {
            const double x = t.column(xf).numberAt(r), y = t.column(yf).numberAt(r);
            return x != 0 && x >= std::trunc(view.left()) && x <= std::trunc(view.right()) &&
                   y >= std::trunc(view.top()) && y <= std::trunc(view.bottom());
        };
        QCOMPARE(t.recordCount(), countRows(t, inside));
        // Without located events the zone stops filtering, its rectangle stays.
        w.action(QStringLiteral("mLocalizedOnly"))->trigger();
        QVERIFY(!t.filtered());
        QVERIFY(map->zoneShown());
        w.action(QStringLiteral("mUnsetZone"))->trigger();
        QVERIFY(!map->zoneShown());
        QVERIFY(w.filterSources().MapZoneExpression.empty());

        // A location expression the engine rejects: said once per rebuild,
        // the other sources still apply.
        w.preferences().LocationFilter = "<>>0";
        w.preferences().DescrFilter = false;
        w.catalogueWindow().zoneTree()->setCurrentItem(
            w.catalogueWindow().zoneTree()->topLevelItem(0)->child(1));
        f.dialogs.messages.clear();
        w.action(QStringLiteral("mLocalizedOnly"))->trigger();
        QCOMPARE(f.dialogs.count(QString::fromUtf8(kBadLocationFilterMessage)), 1);
        QCOMPARE(w.filterBarText(), QStringLiteral("ODDZIAL = 'G-2/*'   "));
        QVERIFY(t.filtered());

        // Axis inversion follows the two commands.
        const bool x = w.action(QStringLiteral("mInverseXAxis"))->isChecked();
        QCOMPARE(map->xAxis->rangeReversed(), x);
        w.action(QStringLiteral("mInverseXAxis"))->trigger();
        QCOMPARE(map->xAxis->rangeReversed(), !x);
        w.action(QStringLiteral("mInverseYAxis"))->trigger();
        QVERIFY(map->yAxis->rangeReversed());
    }

    // The location map keeps one scale for X and Y (a mine plan must not be
    // stretched): after drawing a plan wider than high, a zoom, a resize to
    // another shape, and the full view again.
    void mapKeepsOneScaleForXAndY() {
        LocationMap map;
        map.resize(900, 500);
        map.show();
        DepartmentPoints d;
        d.name = "G-1";
        d.x = {0.0, 4000.0, 2000.0};
        d.y = {0.0, 500.0, 250.0};
        map.generate({d});
        const auto oneScale = [&](const char* when) {
            map.replot();
            const double ux = map.unitsPerPixel(map.xAxis), uy = map.unitsPerPixel(map.yAxis);
            if (!(ux > 0) || std::abs(ux - uy) > 1e-6 * ux) {
                qWarning("%s: %g and %g units per pixel", when, ux, uy);
                return false;
            }
            return true;
        };
        QVERIFY(oneScale("drawn"));
        // Every point still in view: the narrow axis widened, not the other.
        const QRectF view = map.visibleArea();
        QVERIFY(view.left() <= 0.0 && view.right() >= 4000.0 && view.top() <= 0.0 && view.bottom() >= 500.0);
        // The widened axis is labelled over its whole range, below 0 too.
        const QCPRange y = map.yAxis->range();
        const QVector<double> ticks = map.yAxis->tickVector();
        QVERIFY(!ticks.isEmpty());
        QVERIFY2(*std::min_element(ticks.begin(), ticks.end()) < std::min(0.0, y.lower + 0.25 * y.size()) &&
                     *std::max_element(ticks.begin(), ticks.end()) > y.upper - 0.25 * y.size(),
                 qPrintable(QStringLiteral("%1..%2, ticks %3..%4")
                                .arg(y.lower)
                                .arg(y.upper)
                                .arg(ticks.front())
                                .arg(ticks.back())));
        map.zoomTo(1.25);
        QVERIFY(oneScale("zoomed in"));
        map.resize(400, 700);
        QVERIFY(oneScale("resized"));
        map.undoZoom();
        QVERIFY(oneScale("full view"));
    }

    void protectionAndGridEditing() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString p = writeCatalogue(f, QStringLiteral("edycja.dbf"), *makeCatalogue(4));
        w.newBase(p);
        CatalogueModel* model = w.catalogueWindow().model();
        const int eng = w.catalogue()->fieldIndex("ENG");
        const QModelIndex cell = model->index(1, eng);
        w.action(QStringLiteral("mLockUnlock"))->trigger();
        QVERIFY(w.catalogue()->readOnly());
        QVERIFY(!(model->flags(cell) & Qt::ItemIsEditable));
        QVERIFY(!model->setData(cell, QStringLiteral("5"), Qt::EditRole));
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Tabela jest tylko do odczytu"));
        w.action(QStringLiteral("mLockUnlock"))->trigger();
        QVERIFY(!w.catalogue()->readOnly());
        QVERIFY(model->flags(cell) & Qt::ItemIsEditable);
        QVERIFY(model->setData(cell, QStringLiteral("12345"), Qt::EditRole));
        QCOMPARE(model->data(cell, Qt::EditRole).toString(), QStringLiteral("12345"));
        // A text that is no number is refused and changes nothing.
        QVERIFY(!model->setData(cell, QStringLiteral("dużo"), Qt::EditRole));
        w.shutDatabase();
        const Table again = readDbase(p.toStdString());
        QCOMPARE(again.value(1, eng).toDouble(), 12345.0);
        // Protection confirmed in the base properties protects the table.
        f.answer = [&](QDialog& d) {
            if (auto* props = qobject_cast<TfmBasePreferences*>(&d)) {
                props->protectedBox()->setChecked(true);
                props->okButton()->click();
                return props->result();
            }
            qobject_cast<TfmBaseCheck*>(&d)->runCheck();
            return int(QDialog::Accepted);
        };
        w.newBase(p);
        QVERIFY(w.action(QStringLiteral("mLockUnlock"))->isChecked());
        QVERIFY(w.catalogue()->readOnly());
        QVERIFY(!(model->flags(cell) & Qt::ItemIsEditable));
    }

    void gridShowsMasksAndKeepsItsColumnWidths() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.show();
        w.newBase(writeCatalogue(f, QStringLiteral("maski.dbf"), *makeCatalogue(12)));
        QVERIFY(w.basePropertiesSet());
        CatalogueModel* model = w.catalogueWindow().model();
        const Table& t = *w.catalogue();
        const int eng = t.fieldIndex("ENG"), mag = t.fieldIndex("MAGNITUDA"), x = t.fieldIndex("X");
        const Locale loc = userLocale();
        // Expected texts are written with a point, shown with the user's separator.
        const auto local = [&](const char* s) {
            return QString::fromLatin1(s).replace(QLatin1Char('.'), QLatin1Char(loc.decimalSeparator));
        };
        // Record 2: energy 2000 J, magnitude 1.1, X 1001.
        const auto text = [&](int column, int role) {
            return model->data(model->index(1, column), role).toString();
        };
        QCOMPARE(text(eng, Qt::DisplayRole), local("2.00e+03"));
        QCOMPARE(text(mag, Qt::DisplayRole), local("1.100"));
        QCOMPARE(text(x, Qt::DisplayRole), QStringLiteral("1001"));
        // The editor gets the whole value, not the rounded picture.
        QCOMPARE(text(eng, Qt::EditRole), QStringLiteral("2000"));
        QCOMPARE(text(mag, Qt::EditRole), local("1.1"));
        // Changed masks reach the grid with the preferences.
        w.preferences().EnergyMask = "0.0E+0";
        w.preferences().ProbabilityMask = "0.0";
        w.applyFilter();
        QCOMPARE(text(eng, Qt::DisplayRole), local("2.0E+3"));
        QCOMPARE(text(mag, Qt::DisplayRole), local("1.1"));

        // Widths as sized at the opening or set by the user survive filters.
        // The row numbers keep the width of the whole catalogue's, so that
        // the columns do not move sideways when fewer digits are needed.
        QTableView* grid = w.catalogueWindow().grid();
        QHeaderView* header = grid->horizontalHeader();
        header->resizeSection(0, 177);
        const auto widths = [&] {
            QCoreApplication::processEvents();
            QList<int> out{grid->verticalHeader()->width()};
            for (int c = 0; c < header->count(); ++c) out << header->sectionSize(c);
            return out;
        };
        const QList<int> before = widths();
        w.action(QStringLiteral("mLocalizedOnly"))->trigger();
        QVERIFY(t.recordCount() < 10);
        QCOMPARE(widths(), before);
        w.catalogueWindow().zoneTree()->setCurrentItem(
            w.catalogueWindow().zoneTree()->topLevelItem(0)->child(0));
        w.action(QStringLiteral("mClearFilters"))->trigger();
        QCOMPARE(t.recordCount(), std::size_t(12));
        QCOMPARE(widths(), before);
    }

    void basePropertiesChooseFieldsAndKeepCoefficients() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString p = writeCatalogue(f, QStringLiteral("pola.dbf"), *makeCatalogue(3));
        f.answer = [&](QDialog& d) {
            auto* props = qobject_cast<TfmBasePreferences*>(&d);
            if (!props) {
                if (auto* check = qobject_cast<TfmBaseCheck*>(&d)) check->runCheck();
                return int(QDialog::Accepted);
            }
            props->aEdit()->setValue(2.0);
            props->mminEdit()->setValue(1.0);
            props->fieldList()->item(4)->setCheckState(Qt::Unchecked);  // ENG
            props->protectedBox()->setChecked(false);
            props->localizedBox()->setChecked(true);
            props->okButton()->click();
            return props->result();
        };
        w.newBase(p);
        QCOMPARE(w.analysisSettings().a, 2.0);
        QCOMPARE(w.analysisSettings().MMin, 1.0);
        QVERIFY(!w.catalogueWindow().fieldVisible(4));
        QVERIFY(w.catalogueWindow().fieldVisible(3));
        QVERIFY(!w.catalogue()->readOnly());
        QVERIFY(w.action(QStringLiteral("mLocalizedOnly"))->isChecked());
        QCOMPARE(w.catalogue()->recordCount(), std::size_t(2));  // X = 0 in the first of three
        // The next showing keeps the catalogue's values; a new catalogue
        // takes them from the preferences again.
        double a = 0;
        f.answer = [&](QDialog& d) {
            if (auto* props = qobject_cast<TfmBasePreferences*>(&d))
                a = props->aEdit()->value();
            else if (auto* check = qobject_cast<TfmBaseCheck*>(&d))
                check->runCheck();
            return int(QDialog::Accepted);
        };
        w.action(QStringLiteral("mBaseProperties"))->trigger();
        QCOMPARE(a, 2.0);
        w.newBase(p);
        QCOMPARE(a, 1.96);
    }
};

QTEST_MAIN(CatalogueShellTest)
#include "CatalogueShellTest.moc"

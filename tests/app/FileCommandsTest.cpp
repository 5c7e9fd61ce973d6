// The file commands on every kind of child window: table copies and
// delimited text of the catalogue and of result tables, the report and the
// text table in a text window and what it saves, previews of table files.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

#include "SampleShell.h"
#include "analysis/AnalysisCommands.h"
#include "catalogue/TfmMainBase.h"
#include "files/TableFiles.h"
#include "interchange/FileCommands.h"
#include "interchange/FileTypes.h"
#include "interchange/TableWindows.h"
#include "interchange/TfmImport.h"
#include "registry/AnalysisRegistry.h"
#include "report/ReportWriter.h"
#include "report/TfmRichText.h"
#include "services/UserDialogs.h"

using namespace zorv;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void activate(TfmZorv& w, QWidget* child) {
    w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(child->parentWidget()));
    w.updateFileCommands();
}

// The monthly activity of the sample, its chart window active.
TfmGraph* activityChart(TfmZorv& w) {
    AnalysisRequest r;
    r.period = PeriodKind::Months;
    TfmGraph* g = w.analysisCommands().run(*findAnalysis("activity"), r);
    if (g) activate(w, g);
    return g;
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void extensionFollowsTheChosenType_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("extension");
        QTest::newRow("first table type") << kTableSaveTypes << 1 << "dbf";
        QTest::newRow("Paradox") << kTableSaveTypes << 2 << "db";
        QTest::newRow("dBase III") << kTableSaveTypes << 3 << "dbf";
        QTest::newRow("no such type") << kTableSaveTypes << 4 << "";
        QTest::newRow("CSV, the last") << kTextExportTypes << 3 << "csv";
        QTest::newRow("JPEG") << kPictureTypes << 4 << "jpg";
        QTest::newRow("PDF, the last") << kPictureTypes << 7 << "pdf";
    }
    void extensionFollowsTheChosenType() {
        QFETCH(QString, filter);
        QFETCH(int, type);
        QFETCH(QString, extension);
        QCOMPARE(extensionOfType(filter, type), extension);
    }

    // Saving the filtered catalogue at the three table types, and exporting
    // it as text with the separator of the chosen type whatever the name.
    void catalogueCopiesAndText() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        QVERIFY(w.catalogue());
        w.show();
        activate(w, &w.catalogueWindow());
        QVERIFY(w.action(QStringLiteral("mSave"))->isEnabled());
        QVERIFY(w.action(QStringLiteral("mExport"))->isEnabled());
        w.catalogue()->setFilter("X > 0 AND ODDZIAL = 'G-1*'");
        w.catalogue()->setFiltered(true);
        const std::size_t shown = w.catalogue()->recordCount();
        QVERIFY(shown > 10 && shown < 19838);

        struct Case {
            const char* typed;
            int type;
            const char* written;
            unsigned char version;  // first byte of a dBase file; 0 for Paradox
        };
        for (const Case& c : {Case{"kopia", 1, "kopia.dbf", 0x04}, Case{"kopia", 2, "kopia.db", 0},
                              Case{"kopia3", 3, "kopia3.dbf", 0x03}}) {
            f.dialogs.fileAnswer = f.dir.filePath(QString::fromUtf8(c.typed));
            f.dialogs.typeAnswer = c.type;
            w.action(QStringLiteral("mSave"))->trigger();
            const QString path = f.dir.filePath(QString::fromUtf8(c.written));
            QVERIFY2(QFile::exists(path), c.written);
            if (c.version) QCOMPARE(static_cast<unsigned char>(bytesOf(path).at(0)) & 0x07, c.version & 0x07);
            QCOMPARE(openTableFile(path.toStdString(), false)->recordCount(), shown);
        }
        QCOMPARE(f.dialogs.fileRequests.back().title, QStringLiteral("Zapisz bazę danych"));
        QCOMPARE(f.dialogs.fileRequests.back().filter, kTableSaveTypes);

        // Over the working catalogue itself: refused, the file as it was.
        const QByteArray before = bytesOf(f.dir.filePath(QStringLiteral("katalog.dbf")));
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("katalog.dbf"));
        f.dialogs.typeAnswer = 1;
        w.action(QStringLiteral("mSave"))->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QVERIFY(f.dialogs.messages.back().text.startsWith(
            QStringLiteral("Operacja zapisywania pliku nie powiodła się! (")));
        QCOMPARE(bytesOf(f.dir.filePath(QStringLiteral("katalog.dbf"))), before);

        struct Text {
            const char* typed;
            int type;
            const char* written;
            char separator;
        };
        for (const Text& t : {Text{"tekst", 1, "tekst.txt", '\t'}, Text{"grapher", 2, "grapher.dat", ' '},
                              Text{"csv.txt", 3, "csv.txt", ';'}}) {
            f.dialogs.fileAnswer = f.dir.filePath(QString::fromUtf8(t.typed));
            f.dialogs.typeAnswer = t.type;
            w.action(QStringLiteral("mExport"))->trigger();
            const QList<QByteArray> lines = bytesOf(f.dir.filePath(QString::fromUtf8(t.written))).split('\n');
            // Header, one line per shown record, and the empty rest after the last CR LF.
            QCOMPARE(std::size_t(lines.size()), shown + 2);
            QVERIFY(lines[0].startsWith(QByteArray("ODDZIAL") + t.separator));
            for (int i = 0; i + 1 < lines.size(); ++i)
                QVERIFY(lines[i].endsWith(QByteArray(1, t.separator) + '\r'));
        }
        QCOMPARE(f.dialogs.fileRequests.back().title, QStringLiteral("Eksportuj bazę danych"));
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    }

    // The report and the text table of a chart in text windows; what they
    // save and export; the result table in a table window.
    void chartOutputs() {
        // The report is written twice below (in the window and here); a clock
        // that moved on between the two would stamp them apart.
        const auto clock = reportClock;
        reportClock = [] { return 37800.5; };
        const auto restore = qScopeGuard([&] { reportClock = clock; });
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        TfmGraph* g = activityChart(w);
        QVERIFY(g);
        QVERIFY(!w.action(QStringLiteral("mSave"))->isEnabled());

        w.action(QStringLiteral("mViewReport"))->trigger();
        auto* report = qobject_cast<TfmRichText*>(w.mdiArea()->activeSubWindow()->widget());
        QVERIFY(report);
        QCOMPARE(report->windowTitle(), g->windowTitle());
        QCOMPARE(report->editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(QFontInfo(report->editor()->font()).fixedPitch());
        ReportLines expected;
        g->analysis().WriteReport(expected);
        const ReportLines shown = report->lines();
        QCOMPARE(shown, expected);
        // On screen the section marks are empty lines.
        QCOMPARE(shown[0], std::string());
        QCOMPARE(shown[2], std::string());
        QVERIFY(QString::fromStdString(shown[5]).startsWith(
            QStringLiteral("  Data utworzenia pliku:            ")));
        activate(w, report);
        QVERIFY(w.action(QStringLiteral("mSave"))->isEnabled());

        // Saved as windows-1250 text with CR LF, ".txt" added to a bare name.
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("raport"));
        w.action(QStringLiteral("mSave"))->trigger();
        const QByteArray saved = bytesOf(f.dir.filePath(QStringLiteral("raport.txt")));
        QVERIFY(saved.startsWith("\r\n"));
        QVERIFY(saved.contains("Data utworzenia pliku:"));
        QCOMPARE(saved.count("\r\n"), qsizetype(expected.size()));
        QVERIFY(!saved.contains("\n\n"));
        // The user's own edit goes with it.
        report->editor()->appendPlainText(QStringLiteral("Uwagi: zagrożenie średnie"));
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("raport.rtf"));
        w.action(QStringLiteral("mExport"))->trigger();
        const QByteArray rtf = bytesOf(f.dir.filePath(QStringLiteral("raport.rtf")));
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("Uwagi: zagro"));
        QCOMPARE(f.dialogs.fileRequests.back().title, QStringLiteral("Eksportuj raport tekstowy"));

        // A folder that does not exist: the message names the cause.
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("brak/raport.rtf"));
        w.action(QStringLiteral("mExport"))->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QVERIFY(f.dialogs.messages[0].text.startsWith(
            QStringLiteral("Operacja eksportowania pliku nie powiodła się! (")));
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("folder nie istnieje")));

        // The chart as a picture: JPEG under a bare name gets ".jpg", nothing
        // else is left in the folder; every type of the filter is written.
        activate(w, g);
        QVERIFY(w.action(QStringLiteral("mExport"))->isEnabled());
        QDir pictures(f.dir.filePath(QStringLiteral("rysunki")));
        QVERIFY(pictures.mkpath(QStringLiteral(".")));
        f.dialogs.messages.clear();
        for (int type = 1; type <= 7; ++type) {
            f.dialogs.fileAnswer = pictures.filePath(QStringLiteral("wykres%1").arg(type));
            f.dialogs.typeAnswer = type;
            w.action(QStringLiteral("mExport"))->trigger();
            QCOMPARE(f.dialogs.messages.back().text,
                     QStringLiteral("Rysunek został pomyślnie wyeksportowany."));
        }
        QCOMPARE(f.dialogs.fileRequests.back().title, QStringLiteral("Eksportuj wykres"));
        QCOMPARE(pictures.entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"wykres1.bmp", "wykres2.wmf", "wykres3.emf", "wykres4.jpg", "wykres5.png",
                              "wykres6.svg", "wykres7.pdf"}));
        QCOMPARE(QImage(pictures.filePath(QStringLiteral("wykres4.jpg"))).size(), g->chart()->size());
        f.dialogs.messages.clear();

        // The text table: header and rows only.
        activate(w, g);
        w.action(QStringLiteral("mViewTextTable"))->trigger();
        auto* table = qobject_cast<TfmRichText*>(w.mdiArea()->activeSubWindow()->widget());
        QVERIFY(table && table != report);
        ReportLines tableText;
        g->analysis().WriteTableText(tableText);
        QCOMPARE(table->lines(), tableText);
        QCOMPARE(tableText.size(), g->analysis().GetTable()->recordCount() + 1);

        // The result table in a grid, saved as a table and exported.
        activate(w, g);
        w.action(QStringLiteral("mViewTable"))->trigger();
        auto* grid = qobject_cast<TfmDatabase*>(w.mdiArea()->activeSubWindow()->widget());
        QVERIFY(grid);
        QCOMPARE(grid->windowTitle(), g->windowTitle());
        QCOMPARE(grid->table().recordCount(), g->analysis().GetTable()->recordCount());
        QCOMPARE(grid->grid()->model()->rowCount(), int(grid->table().recordCount()));
        activate(w, grid);
        QVERIFY(w.action(QStringLiteral("mSave"))->isEnabled());
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("wynik"));
        f.dialogs.typeAnswer = 2;
        w.action(QStringLiteral("mSave"))->trigger();
        QCOMPARE(f.dialogs.fileRequests.back().title, QStringLiteral("Zapisz tabelę wykresu"));
        QCOMPARE(
            openTableFile(f.dir.filePath(QStringLiteral("wynik.db")).toStdString(), false)->recordCount(),
            grid->table().recordCount());
        // The table window outlives the chart.
        g->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("wynik.csv"));
        f.dialogs.typeAnswer = 3;
        activate(w, grid);
        w.action(QStringLiteral("mExport"))->trigger();
        QCOMPARE(bytesOf(f.dir.filePath(QStringLiteral("wynik.csv"))).count("\r\n"),
                 qsizetype(grid->table().recordCount() + 1));
        QVERIFY(f.dialogs.messages.empty());
    }

    // The import dialog on a CSV file: columns, preview, the mapping by
    // role and by hand, the date checks; the separator of an unknown
    // extension is the previous file's.
    void importDialog() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString csv = f.dir.filePath(QStringLiteral("siec.csv"));
        writeFile(csv, "1.5;20;G-1/1\r\n2.5;-12.7;G-1/2\r\n3;7;G-1/1\r\n4;8;G-1/1\r\n5;9;G-1/1\r\n");
        TfmImport& d = w.fileCommands().importDialog();
        QVERIFY(d.load(csv, w.preferences()));
        QCOMPARE(d.columnList()->count(), 3);
        QCOMPARE(d.columnList()->item(1)->text(), QStringLiteral("2: 20"));
        QCOMPARE(d.preview()->toPlainText().count(QLatin1Char('\n')), 3);  // four lines
        QCOMPARE(d.startDate()->date().daysTo(d.endDate()->date()), qint64(5));
        QCOMPARE(d.zoneName()->text(), QStringLiteral("G-99/9"));
        d.selectColumn(0);
        d.chooseRole(ImportRole::Energy);
        QCOMPARE(d.nameEdit()->text(), QStringLiteral("ENG"));
        QVERIFY(d.importBox()->isChecked());
        QCOMPARE(d.typeList()->currentIndex(), int(ImportType::Float));
        d.selectColumn(1);
        QCOMPARE(d.nameEdit()->text(), QStringLiteral("Pole2"));
        d.typeList()->setCurrentIndex(int(ImportType::Integer));
        d.importBox()->click();
        QCOMPARE(d.columns()[1].type, ImportType::Integer);
        QVERIFY(d.columns()[1].import);
        QVERIFY(d.columns()[0].import && d.columns()[0].name == "ENG");
        d.selectColumn(2);
        d.chooseRole(ImportRole::Zone);

        d.startDate()->setDate(d.endDate()->date().addDays(3));
        QCOMPARE(f.dialogs.messages.back().text,
                 QStringLiteral("Data początkowa jest większa niż data końcowa"));
        QCOMPARE(d.startDate()->date(), d.endDate()->date());
        d.endDate()->setDate(d.startDate()->date().addDays(-1));
        QCOMPARE(f.dialogs.messages.back().text,
                 QStringLiteral("Data końcowa jest mniejsza niż data początkowa"));
        QCOMPARE(d.endDate()->date(), d.startDate()->date());
        d.endDate()->setDate(d.startDate()->date().addDays(5));
        f.dialogs.messages.clear();

        // "Importuj" into a Paradox table named without extension.
        f.dialogs.fileAnswer = f.dir.filePath(QStringLiteral("nowy"));
        f.dialogs.typeAnswer = 2;
        const bool imported = w.fileCommands().importInto(d, f.dialogs.fileAnswer, 2);
        QVERIFY2(imported, f.dialogs.messages.empty() ? "" : qPrintable(f.dialogs.messages.back().text));
        QCOMPARE(f.dialogs.messages.back().text,
                 QStringLiteral("Operacja importu danych do pliku nowy.db powiodła się."));
        const auto t = openTableFile(f.dir.filePath(QStringLiteral("nowy.db")).toStdString(), false);
        QCOMPARE(t->recordCount(), std::size_t(5));
        QCOMPARE(t->value(1, 1).toInt(), std::int64_t(-12));
        QCOMPARE(t->value(1, 2).textValue(), std::string("G-1/2"));
        QCOMPARE(t->field(t->fieldIndex("DATA")).type, FieldType::Date);

        // An upper-case extension after the CSV file: split at ";" still.
        const QString upper = f.dir.filePath(QStringLiteral("SIEC.TXT"));
        writeFile(upper, "1;2\t3\r\n");
        QVERIFY(d.load(upper, w.preferences()));
        QCOMPARE(d.columnList()->count(), 2);
        // Sixteen columns, and a file that cannot be read.
        writeFile(csv, "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16\r\n");
        QVERIFY(!d.load(csv, w.preferences()));
        QCOMPARE(f.dialogs.messages.back().text,
                 QStringLiteral("Zbyt duża liczba kolumn danych. Proces importu wstrzymany"));
        QVERIFY(!d.load(f.dir.filePath(QStringLiteral("brak.txt")), w.preferences()));
        QCOMPARE(f.dialogs.messages.back().text,
                 QStringLiteral("Załadowanie pliku: brak.txt nie powiodło się..."));
    }

    // Without an energy or magnitude column the command stops before asking
    // for the new table's name.
    void importWithoutEnergyAsksNothingMore() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString txt = f.dir.filePath(QStringLiteral("lista.txt"));
        writeFile(txt, "1\t2\r\n");
        f.dialogs.fileAnswer = txt;
        w.action(QStringLiteral("mImport"))->trigger();
        QCOMPARE(f.dialogsShown, std::vector<QString>{QStringLiteral("TfmImport")});
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t(1));
        QCOMPARE(f.dialogs.fileRequests[0].title, QStringLiteral("Importuj plik danych"));
        QCOMPARE(
            f.dialogs.messages.back().text,
            QStringLiteral("Nie zdefiniowane pole MAGNITUDA/ENERGIA. Procedura importowania przerwana."));
    }

    // "Podgląd bazy danych": the extension in any case, read-only beside
    // the working catalogue; a damaged file gives the message.
    void previews() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        w.show();
        const QString upper = f.dir.filePath(QStringLiteral("KATALOG.DBF"));
        QVERIFY(QFile::copy(f.dir.filePath(QStringLiteral("katalog.dbf")), upper));
        const QByteArray before = bytesOf(upper);
        f.dialogs.fileAnswer = upper;
        w.action(QStringLiteral("mOpen"))->trigger();
        auto* preview = qobject_cast<TfmChildBase*>(w.mdiArea()->activeSubWindow()->widget());
        QVERIFY(preview);
        QCOMPARE(preview->table().recordCount(), w.catalogue()->recordCount());
        QVERIFY(preview->table().readOnly());
        activate(w, preview);
        QVERIFY(!w.action(QStringLiteral("mSave"))->isEnabled());
        QVERIFY(w.action(QStringLiteral("mExport"))->isEnabled());
        // The working catalogue itself opens beside it, read-only.
        QVERIFY(w.fileCommands().openPreview(f.dir.filePath(QStringLiteral("katalog.dbf"))));

        const int windows = int(w.mdiArea()->subWindowList().size());
        QFile text(f.dir.filePath(QStringLiteral("lista.txt")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("a\tb\r\n");
        text.close();
        QVERIFY(!w.fileCommands().openPreview(text.fileName()));
        QFile damaged(f.dir.filePath(QStringLiteral("zly.db")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(100, 'x'));
        damaged.close();
        QVERIFY(!w.fileCommands().openPreview(damaged.fileName()));
        QCOMPARE(int(w.mdiArea()->subWindowList().size()), windows);
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(
            f.dialogs.messages[0].text,
            QStringLiteral("Wystąpił problem związany z uruchomieniem bazy danych. Prawdopodobnie zły format "
                           "danych..."));
        QCOMPARE(bytesOf(upper), before);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"

// The import dialog on catalogues written elsewhere: what it finds in a
// comma CSV with a byte-order mark and month-first dates and in a QuakeML
// file, the roles the user changes surviving a new reading of the file, a
// bad value refused with its row and column, and the catalogue written with
// its .crs file, whose CRS the reports then name. With ZORV_SHOTS_DIR set
// it saves pictures of the dialog there.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>

#include "SampleShell.h"
#include "analysis/AnalysisCommands.h"
#include "files/TableFiles.h"
#include "interchange/CrsSidecar.h"
#include "interchange/FileCommands.h"
#include "interchange/FileTypes.h"
#include "interchange/TfmImport.h"
#include "registry/AnalysisRegistry.h"
#include "report/TfmRichText.h"
#include "services/ChildWindow.h"
#include "text/Dates.h"

using namespace zorv;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A network's export: BOM, CR LF, month-first dates, a quoted name with a
// comma, a magnitude missing as NaN, one record out of date order.
const QByteArray kCommaCsv =
    "\xEF\xBB\xBF"
    "Event ID,Date,Time,Easting,Northing,Depth,Mw,Energy [J],Place\r\n"
    "1,03/14/2021,05:06:07,500100,5600200,0.8,1.2,1.5e5,\"Pole A, zachód\"\r\n"
    "2,03/15/2021,06:00:00,500300,5600100,0.9,NaN,2.0e4,Pole B\r\n"
    "3,12/31/2021,23:59:59,500500,5600400,1.1,2.1,3.0e6,Pole A\r\n"
    "4,03/14/2021,01:00:00,500200,5600300,0.7,0.9,8.0e3,Pole C\r\n";

const QByteArray kQuakeMl =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<q:quakeml xmlns:q=\"http://quakeml.org/xmlns/quakeml/1.2\" "
    "xmlns=\"http://quakeml.org/xmlns/bed/1.2\">\n"
    "  <eventParameters publicID=\"smi:local/catalog\">\n"
    "    <event publicID=\"smi:local/event/1\">\n"
    "      <preferredOriginID>smi:local/origin/1b</preferredOriginID>\n"
    "      <preferredMagnitudeID>smi:local/mag/1b</preferredMagnitudeID>\n"
    "      <origin publicID=\"smi:local/origin/1a\">\n"
    "        <time><value>2020-01-01T00:00:00Z</value></time>\n"
    "        <latitude><value>10.0</value></latitude><longitude><value>10.0</value></longitude>\n"
    "      </origin>\n"
    "      <origin publicID=\"smi:local/origin/1b\">\n"
    "        <time><value>2021-05-06T07:08:09.5Z</value></time>\n"
    "        <latitude><value>50.25</value></latitude><longitude><value>19.05</value></longitude>\n"
    "        <depth><value>800</value></depth>\n"
    "      </origin>\n"
    "      <magnitude publicID=\"smi:local/mag/1a\"><mag><value>9.9</value></mag></magnitude>\n"
    "      <magnitude "
    "publicID=\"smi:local/mag/1b\"><mag><value>1.7</value></mag><type>ML</type></magnitude>\n"
    "    </event>\n"
    "    <event publicID=\"smi:local/event/2\">\n"
    "      <origin publicID=\"smi:local/origin/2\">\n"
    "        <time><value>2021-05-07T10:00:00Z</value></time>\n"
    "        <latitude><value>50.27</value></latitude><longitude><value>19.10</value></longitude>\n"
    "      </origin>\n"
    "      <magnitude publicID=\"smi:local/mag/2\"><mag><value>2.3</value></mag><type>Mw</type></magnitude>\n"
    "    </event>\n"
    "  </eventParameters>\n"
    "</q:quakeml>\n";

int columnOf(const TfmImport& d, const std::string& caption) {
    const auto& h = d.catalogueRows().header();
    for (std::size_t c = 0; c < h.size(); ++c)
        if (h[c] == caption) return int(c);
    return -1;
}

void shoot(TfmImport& d, const char* name) {
    const QByteArray dir = qgetenv("ZORV_SHOTS_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    d.resize(1000, 720);
    d.show();
    QTest::qWait(50);
    QVERIFY(d.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name)));
    d.hide();
}

}  // namespace

class ImportDialogTest : public QObject {
    Q_OBJECT
private slots:
    // The reading found in the file and shown; the roles proposed by the
    // column names; the catalogue in date order with the month-first dates.
    void commaCsvWithBomAndMonthFirstDates() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString csv = f.dir.filePath(QStringLiteral("siec.csv"));
        writeFile(csv, kCommaCsv);
        TfmImport& d = w.fileCommands().importDialog();
        QVERIFY(d.load(csv, w.preferences()));
        QCOMPARE(d.form(), ImportFileForm::NamedCsv);
        QCOMPARE(d.encodingBox()->currentText(), QStringLiteral("UTF-8 z BOM"));
        QCOMPARE(d.separatorBox()->currentText(), QStringLiteral("przecinek"));
        QCOMPARE(d.decimalBox()->currentIndex(), 0);
        QVERIFY(d.headerBox()->isChecked());
        QCOMPARE(d.dateOrderBox()->currentIndex(), int(DateOrder::MonthFirst));
        QVERIFY2(d.dateNote()->text().contains(QStringLiteral("wykryta")), qPrintable(d.dateNote()->text()));
        // The BOM is not part of the first caption; the quoted comma stays in its cell.
        QCOMPARE(d.catalogueRows().header().front(), std::string("Event ID"));
        QCOMPARE(d.grid()->item(1, 8)->text(), QStringLiteral("Pole A, zachód"));
        QCOMPARE(d.roleBox(columnOf(d, "Mw"))->currentText(), QStringLiteral("magnituda"));
        QCOMPARE(d.roleBox(columnOf(d, "Easting"))->currentText(), QStringLiteral("X [m]"));
        QCOMPARE(d.roleBox(columnOf(d, "Time"))->currentText(), QStringLiteral("czas"));
        QVERIFY(!d.epsgEdit()->isEnabled());  // plane co-ordinates: nothing to project
        shoot(d, "import-csv.png");

        QVERIFY(d.buildCatalogue());
        const QString target = f.dir.filePath(QStringLiteral("siec.dbf"));
        QVERIFY(w.fileCommands().importInto(d, target, 1));
        const QString message = f.dialogs.messages.back().text;
        QVERIFY2(message.contains(QStringLiteral("Rekordów: 4")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("przesunięto 1")), qPrintable(message));
        QVERIFY(!QFile::exists(QString::fromStdString(crsSidecarPath(target.toStdString()))));
        const auto t = openTableFile(target.toStdString(), false);
        QCOMPARE(t->recordCount(), std::size_t(4));
        const int date = t->fieldIndex("DATA"), hour = t->fieldIndex("GODZ"),
                  mag = t->fieldIndex("MAGNITUDA");
        QCOMPARE(t->value(0, date).toInt(), std::int64_t(dayNumber(2021, 3, 14)));
        QCOMPARE(t->value(0, hour).toInt(), std::int64_t(1));  // 01:00 before 05:06
        QCOMPARE(t->value(3, date).toInt(), std::int64_t(dayNumber(2021, 12, 31)));
        QVERIFY(t->value(2, mag).isNull());  // NaN
        QCOMPARE(t->value(1, t->fieldIndex("X")).toInt(), std::int64_t(500100));
    }

    // A role the user gave stays through a new reading (another encoding,
    // the header tick off and on); another column's role it took becomes an
    // extra field.
    void roleEditsSurviveANewReading() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString csv = f.dir.filePath(QStringLiteral("siec.csv"));
        writeFile(csv, kCommaCsv);
        TfmImport& d = w.fileCommands().importDialog();
        QVERIFY(d.load(csv, w.preferences()));
        const int energy = columnOf(d, "Energy [J]"), depth = columnOf(d, "Depth"), mw = columnOf(d, "Mw");
        d.roleBox(energy)->setCurrentIndex(int(ColumnRole::Skip));
        d.roleBox(depth)->setCurrentIndex(int(ColumnRole::Magnitude));  // as the user would, by mistake
        QCOMPARE(d.mapping()[std::size_t(mw)].role, ColumnRole::Extra);
        d.roleBox(mw)->setCurrentIndex(int(ColumnRole::Magnitude));  // and back
        QCOMPARE(d.mapping()[std::size_t(depth)].role, ColumnRole::Extra);

        d.encodingBox()->setCurrentIndex(2);  // windows-1250: read again
        QCOMPARE(d.catalogueRows().rowCount(), std::size_t(4));
        QCOMPARE(d.mapping()[std::size_t(energy)].role, ColumnRole::Skip);
        QCOMPARE(d.roleBox(energy)->currentText(), QStringLiteral("pomiń"));
        QCOMPARE(d.mapping()[std::size_t(mw)].role, ColumnRole::Magnitude);
        QCOMPARE(d.encodingBox()->currentIndex(), 2);  // the user's choice, not the detected one

        d.headerBox()->setChecked(false);
        QCOMPARE(d.catalogueRows().header()[std::size_t(energy)], std::string("Pole8"));
        QCOMPARE(d.mapping()[std::size_t(energy)].role, ColumnRole::Skip);
        d.headerBox()->setChecked(true);
        QCOMPARE(d.mapping()[std::size_t(energy)].role, ColumnRole::Skip);
        QCOMPARE(d.mapping()[std::size_t(mw)].role, ColumnRole::Magnitude);

        // The date order chosen by hand is the one used.
        d.dateOrderBox()->setCurrentIndex(int(DateOrder::DayFirst));
        QVERIFY(!d.buildCatalogue());  // 03/14/2021 has no fourteenth month
        QVERIFY2(f.dialogs.messages.back().text.contains(QStringLiteral("03/14/2021")),
                 qPrintable(f.dialogs.messages.back().text));
    }

    // A value that is not a number stops "Importuj" with its row and column;
    // the dialog stays open and nothing is written. A missing-value mark
    // given by the user lets it through, and rows with neither magnitude
    // nor energy are left out when asked.
    void badValueRefusedWithRowAndColumn() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString csv = f.dir.filePath(QStringLiteral("zle.csv"));
        writeFile(
            csv,
            "Date,Mag,Energy\n2021-01-02,1.5,100\n2021-01-03,abc,200\n2021-01-04,n/d,\n2021-01-05,1.1,50\n");
        TfmImport& d = w.fileCommands().importDialog();
        QVERIFY(d.load(csv, w.preferences()));
        QCOMPARE(d.dateOrderBox()->currentIndex(), int(DateOrder::Iso));
        d.importButton()->click();
        QVERIFY(!d.builtCatalogue());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        const QString message = f.dialogs.messages.back().text;
        QVERIFY2(message.contains(QStringLiteral("'abc' nie jest liczbą (wiersz 3, kolumna Mag)")),
                 qPrintable(message));

        d.missingEdit()->setText(QStringLiteral("abc; n/d"));
        d.dropEmptyBox()->setChecked(true);
        QVERIFY(d.buildCatalogue());
        QCOMPARE(d.buildReport().records, std::size_t(3));
        QCOMPARE(d.buildReport().dropped, std::size_t(1));
        QVERIFY(d.builtCatalogue()->value(1, d.builtCatalogue()->fieldIndex("MAGNITUDA")).isNull());
    }

    // QuakeML: the preferred origin and magnitude of each event, projected
    // to the UTM zone; the catalogue gets its .crs file, the reports of its
    // analyses name the CRS, and "Zapisz jako" takes the file along.
    void quakeMlWithItsCrs() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QString xml = f.dir.filePath(QStringLiteral("zdarzenia.xml"));
        writeFile(xml, kQuakeMl);
        TfmImport& d = w.fileCommands().importDialog();
        QVERIFY(d.load(xml, w.preferences()));
        QCOMPARE(d.form(), ImportFileForm::QuakeMl);
        QVERIFY(!d.separatorBox()->isEnabled());
        QCOMPARE(d.catalogueRows().rowCount(), std::size_t(2));
        QCOMPARE(d.grid()->item(1, columnOf(d, "Magnitude"))->text(), QStringLiteral("1.7"));
        QCOMPARE(d.roleBox(columnOf(d, "Latitude"))->currentText(), QStringLiteral("szerokość geogr."));
        QVERIFY(d.epsgEdit()->isEnabled());
        shoot(d, "import-quakeml.png");

        d.epsgEdit()->setText(QStringLiteral("EPSG:nie"));
        QVERIFY(!d.buildCatalogue());
        QVERIFY(f.dialogs.messages.back().text.contains(QStringLiteral("nie jest kodem EPSG")));
        d.epsgEdit()->clear();
        const QString target = f.dir.filePath(QStringLiteral("zdarzenia.dbf"));
        QVERIFY(w.fileCommands().importInto(d, target, 1));
        QVERIFY2(f.dialogs.messages.back().text.contains(QStringLiteral("EPSG:32634")),
                 qPrintable(f.dialogs.messages.back().text));
        const auto crs = readCrsSidecar(target.toStdString());
        QVERIFY(crs);
        QCOMPARE(crs->epsg, 32634);

        w.newBase(target);
        QVERIFY(w.session().isOpen());
        AnalysisRequest r;
        r.period = PeriodKind::Months;
        TfmGraph* g = w.analysisCommands().run(*findAnalysis("activity"), r);
        QVERIFY(g);
        w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(g->parentWidget()));
        TfmRichText* report = w.fileCommands().viewReport(1);
        QVERIFY(report);
        bool named = false;
        for (const std::string& line : report->lines())
            named = named || (line.find("Układ współrzędnych X/Y:") != std::string::npos &&
                              line.find("EPSG:32634") != std::string::npos);
        QVERIFY(named);

        // Two events are too few for the parametric hazard: the message says
        // how many reach MMin and what to try.
        f.dialogs.messages.clear();
        QVERIFY(!w.analysisCommands().run(*findAnalysis("p-hazard"), AnalysisRequest{}));
        QVERIFY(!f.dialogs.messages.empty());
        QVERIFY2(f.dialogs.messages.back().text.contains(
                     QStringLiteral("Zdarzeń o magnitudzie co najmniej MMin")) &&
                     f.dialogs.messages.back().text.contains(QStringLiteral("(z 2 w próbie)")),
                 qPrintable(f.dialogs.messages.back().text));

        // "Zapisz jako" of the catalogue window.
        const QString copy = f.dir.filePath(QStringLiteral("kopia.dbf"));
        for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
            if (childKindOf(s) == ChildKind::Catalogue) w.mdiArea()->setActiveSubWindow(s);
        w.updateFileCommands();
        f.dialogs.fileAnswer = copy;
        f.dialogs.typeAnswer = 1;
        w.action(QStringLiteral("mSaveAs"))->trigger();
        QVERIFY(QFile::exists(copy));
        const auto copied = readCrsSidecar(copy.toStdString());
        QVERIFY(copied);
        QCOMPARE(copied->description, crs->description);
    }

    // The desktop export of the sample in the three forms other tools read,
    // through the writers of zorv-batch export; the geographic forms need
    // the catalogue's CRS, and each comes back through the dialog as the
    // same number of events.
    void exportFormsReadBackThroughTheDialog() {
        ShellFixture f;
        TfmZorv& w = openSample(f);
        Table& catalogue = *w.session().table();
        const std::size_t events = catalogue.recordCount();
        FileCommands& commands = w.fileCommands();

        const QString csv = f.dir.filePath(QStringLiteral("wynik.csv"));
        QVERIFY(commands.exportTable(catalogue, csv, CommaCsvType));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.readLine();
        QVERIFY2(header.startsWith("ODDZIAL,DATA,") || header.contains(",DATA,"), header.constData());
        QVERIFY(QRegularExpression(QStringLiteral(",\\d{4}-\\d{2}-\\d{2},"))
                    .match(QString::fromUtf8(file.readLine()))
                    .hasMatch());
        file.close();

        // Without a .crs file: refused, saying what to do.
        const QString xml = f.dir.filePath(QStringLiteral("wynik.xml"));
        QVERIFY(!commands.exportTable(catalogue, xml, QuakeMlType));
        QVERIFY2(f.dialogs.messages.back().text.contains(QStringLiteral("katalog.crs")),
                 qPrintable(f.dialogs.messages.back().text));
        QVERIFY(!QFile::exists(xml));
        writeFile(f.dir.filePath(QStringLiteral("katalog.crs")), "EPSG:2180\n");
        QVERIFY(commands.exportTable(catalogue, xml, QuakeMlType));
        const QString oq = f.dir.filePath(QStringLiteral("wynik-oq.csv"));
        QVERIFY(commands.exportTable(catalogue, oq, OpenQuakeType));

        TfmImport& d = commands.importDialog();
        const struct {
            QString path;
            ImportFileForm form;
        } back[] = {
            {csv, ImportFileForm::NamedCsv}, {xml, ImportFileForm::QuakeMl}, {oq, ImportFileForm::NamedCsv}};
        for (const auto& b : back) {
            QVERIFY(d.load(b.path, w.preferences()));
            QCOMPARE(d.form(), b.form);
            d.epsgEdit()->setText(QStringLiteral("2180"));
            QVERIFY2(d.buildCatalogue(), qPrintable(f.dialogs.messages.back().text));
            QCOMPARE(d.builtCatalogue()->recordCount(), events);
        }
    }
};

QTEST_MAIN(ImportDialogTest)
#include "ImportDialogTest.moc"

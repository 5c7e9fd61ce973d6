// zorv-batch import on the bundled sample: the text form of the catalogue,
// taken with its header line, gives back the catalogue's records in every
// role field; the column options and a refusal that leaves nothing behind.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "files/TableFiles.h"
#include "table/Table.h"

using namespace zorv;

namespace {

struct Run {
    int code;
    QString err;
};

Run batch(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZORV_BATCH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

class BatchImportTest : public QObject {
    Q_OBJECT
private slots:
    void headerGivesBackTheSampleCatalogue() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("k.dbf"));
        const Run r = batch({QStringLiteral("import"), QStringLiteral("--header"),
                             QStringLiteral(ZORV_SAMPLE_DIR "/katalog.txt"), out});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(r.err.trimmed(), QStringLiteral("Operacja importu danych do pliku k.dbf powiodła się."));
        const auto imported = openTableFile(out.toStdString(), false);
        const auto sample = openTableFile(ZORV_SAMPLE_DIR "/katalog.dbf", false);
        QCOMPARE(imported->recordCount(), sample->recordCount());
        for (const char* name : {"ODDZIAL", "DATA", "X", "Y", "ENG", "MAGNITUDA"}) {
            const int fi = imported->fieldIndex(name), fs = sample->fieldIndex(name);
            QVERIFY2(fi >= 0 && fs >= 0, name);
            QCOMPARE(imported->field(fi).type, sample->field(fs).type);
            for (std::size_t row = 0; row < sample->recordCount(); ++row)
                if (!(imported->value(row, fi) == sample->value(row, fs)))
                    QFAIL(qPrintable(QStringLiteral("%1, record %2").arg(QLatin1String(name)).arg(row + 1)));
        }
        // The rest as text, whole.
        QCOMPARE(imported->field(imported->fieldIndex("OPIS")).type, FieldType::String);
        QCOMPARE(imported->value(0, imported->fieldIndex("OPIS")).textValue(),
                 sample->value(0, sample->fieldIndex("OPIS")).textValue());
    }

    void columnOptionsAndRefusals() {
        QTemporaryDir dir;
        QFile csv(dir.filePath(QStringLiteral("siec.csv")));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("2005-03-01;2,5;G-2/1\r\n2005-03-02;1,8;G-2/1\r\n");
        csv.close();
        const QString out = dir.filePath(QStringLiteral("k.db"));
        const Run ok =
            batch({QStringLiteral("import"), QStringLiteral("--column"), QStringLiteral("1=data"),
                   QStringLiteral("--column"), QStringLiteral("2=magnituda"), QStringLiteral("--column"),
                   QStringLiteral("3=strefa"), QStringLiteral("--energy-magnitude"), QStringLiteral("--a"),
                   QStringLiteral("1.5"), QStringLiteral("--b"), QStringLiteral("4.8"), csv.fileName(), out});
        QVERIFY2(ok.code == 0, qPrintable(ok.err));
        const auto t = openTableFile(out.toStdString(), false);
        QCOMPARE(t->recordCount(), std::size_t(2));
        QCOMPARE(t->value(0, t->fieldIndex("ENG")).toDouble(), std::pow(10.0, 1.5 * 2.5 + 4.8));
        QCOMPARE(t->value(1, t->fieldIndex("X")).toInt(), std::int64_t(0));

        const QString refused = dir.filePath(QStringLiteral("zly.dbf"));
        const Run bad =
            batch({QStringLiteral("import"), QStringLiteral("--column"), QStringLiteral("1=data"),
                   QStringLiteral("--column"), QStringLiteral("2=X:int"), csv.fileName(), refused});
        QCOMPARE(bad.code, 1);
        QVERIFY2(bad.err.contains(QStringLiteral("Nie zdefiniowane pole MAGNITUDA/ENERGIA")),
                 qPrintable(bad.err));
        const Run role = batch({QStringLiteral("import"), QStringLiteral("--column"), QStringLiteral("2=moc"),
                                csv.fileName(), refused});
        QCOMPARE(role.code, 1);
        QVERIFY2(role.err.contains(QStringLiteral("nieznana rola")), qPrintable(role.err));
        QVERIFY(!QFile::exists(refused));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
};

QTEST_GUILESS_MAIN(BatchImportTest)
#include "BatchImportTest.moc"

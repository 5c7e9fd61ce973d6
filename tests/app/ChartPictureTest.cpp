// Chart pictures read back by programs we did not write: ImageMagick and
// QImageReader for the bitmaps, emf2svg-conv and wmf2svg for the
// metafiles, rsvg-convert for every SVG, pdftotext for the PDF. A missing
// reader skips its test with a message. Also: the WMF records byte by
// byte, and failures that leave the old file and no temporary file.

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "FakeAnalysis.h"
#include "chart/TfmGraph.h"
#include "charts/ChartPicture.h"
#include "text/AtomicFile.h"
#include "text/Cp1250.h"

using namespace zorv;

namespace {

const QString kTitle = QStringLiteral("Kwartalna aktywność sejsmiczna");
const QString kLeft = QStringLiteral("Liczba zjawisk");
const QString kRight = QStringLiteral("Energia wyzwolona [J]");
const QString kBottom = QStringLiteral("Kwartały");

// The energy-class chart (bars, a logarithmic right axis, record labels)
// under Polish titles.
class TitledAnalysis : public FakeAnalysis {
public:
    explicit TitledAnalysis(const AnalysisSettings& s)
        : FakeAnalysis(s, makeTable(QStringLiteral("Okres:s,E3:i,E4:i,E5:i,E6:i,E7:i,E8:i,E9:i,Energia:f"))) {
        title = kTitle.toStdString();
        leftAxisTitle = kLeft.toStdString();
        rightAxisTitle = kRight.toStdString();
        bottomAxisTitle = kBottom.toStdString();
    }
};

std::unique_ptr<TfmGraph> titledChart() {
    AnalysisSettings s;
    s.UserLocale = Locale::point();
    auto analysis = std::make_shared<TitledAnalysis>(s);
    auto w = std::make_unique<TfmGraph>(analysis, s, ChartKind::ActivityInClasses, QString(), nullptr, 0);
    w->build();
    w->chart()->resize(420, 300);
    return w;
}

// Runs a reader; skips the test when it is not installed.
#define RUN_READER(program, arguments)                                                  \
    do {                                                                                \
        if (QStandardPaths::findExecutable(QStringLiteral(program)).isEmpty())          \
            QSKIP(program " is not installed (tools/install-deps.sh installs it)");     \
        QProcess reader;                                                                \
        reader.start(QStringLiteral(program), arguments);                               \
        QVERIFY2(reader.waitForFinished(60000), program " did not finish");             \
        QVERIFY2(reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0, \
                 qPrintable(QStringLiteral(program ": ") +                              \
                            QString::fromLocal8Bit(reader.readAllStandardError())));    \
        readerOutput = reader.readAllStandardOutput();                                  \
    } while (false)

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A picture that holds the chart, not a blank page: many pixels neither
// white nor one background colour.
bool drawnOn(const QImage& image) {
    if (image.isNull()) return false;
    QHash<QRgb, int> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) ++colours[image.pixel(x, y)];
    return colours.size() > 8;
}

std::uint16_t word(const QByteArray& b, int at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t dword(const QByteArray& b, int at) {
    return word(b, at) | (std::uint32_t(word(b, at + 2)) << 16);
}

}  // namespace

class ChartPictureTest : public QObject {
    Q_OBJECT
    QByteArray readerOutput;
    QTemporaryDir dir;
    std::unique_ptr<TfmGraph> window;
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // The SVG a reader made renders to a chart-like PNG with rsvg-convert.
    void checkRenders(const QString& svg) {
        const QString png = svg + QStringLiteral(".png");
        RUN_READER("rsvg-convert", (QStringList{svg, QStringLiteral("-o"), png}));
        QVERIFY2(drawnOn(QImage(png)), qPrintable(svg + QStringLiteral(" renders blank")));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir.isValid());
        window = titledChart();
    }

    void typesByExtension_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("type");  // -1 for none
        QTest::newRow("bmp") << "a.bmp" << int(PictureType::Bmp);
        QTest::newRow("upper case") << "A.WMF" << int(PictureType::Wmf);
        QTest::newRow("emf") << "dir.x/a.Emf" << int(PictureType::Emf);
        QTest::newRow("jpg") << "a.jpg" << int(PictureType::Jpeg);
        QTest::newRow("jpeg") << "a.JPEG" << int(PictureType::Jpeg);
        QTest::newRow("png") << "a.png" << int(PictureType::Png);
        QTest::newRow("svg") << "a.svg" << int(PictureType::Svg);
        QTest::newRow("pdf") << "a.b.pdf" << int(PictureType::Pdf);
        QTest::newRow("gif") << "a.gif" << -1;
        QTest::newRow("none") << "wykres" << -1;
        QTest::newRow("folder with a dot") << "x.png/wykres" << -1;
    }
    void typesByExtension() {
        QFETCH(QString, name);
        QFETCH(int, type);
        const auto t = pictureTypeOf(name);
        QCOMPARE(t ? int(*t) : -1, type);
        if (t) QCOMPARE(pictureTypeOf(QStringLiteral("x") + pictureExtension(*t)), t);
    }

    // Bitmaps at the chart's on-screen size, for QImageReader and identify.
    void bitmaps_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("bmp") << int(PictureType::Bmp) << "w.bmp" << QByteArray("bmp");
        QTest::newRow("jpeg") << int(PictureType::Jpeg) << "w.jpg" << QByteArray("jpeg");
        QTest::newRow("png") << int(PictureType::Png) << "w.png" << QByteArray("png");
    }
    void bitmaps() {
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QTemporaryDir folder;
        const QString file = folder.filePath(name);
        writeChartPicture(*window->chart(), file, PictureType(type), 90);
        QImageReader reader(file);
        QCOMPARE(reader.format(), format);
        QCOMPARE(reader.size(), window->chart()->size());
        QVERIFY(drawnOn(reader.read()));
        // Straight from memory: the picture is the folder's only file.
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        RUN_READER("identify", (QStringList{QStringLiteral("-format"), QStringLiteral("%w %h"), file}));
        QCOMPARE(QString::fromLatin1(readerOutput),
                 QStringLiteral("%1 %2").arg(window->chart()->width()).arg(window->chart()->height()));
    }

    void jpegQuality() {
        const auto low = chartPictureBytes(*window->chart(), PictureType::Jpeg, 5);
        const auto high = chartPictureBytes(*window->chart(), PictureType::Jpeg, 100);
        QVERIFY(low.size() * 2 < high.size());
        // Out of range is held to 1–100.
        QCOMPARE(chartPictureBytes(*window->chart(), PictureType::Jpeg, 500), high);
    }

    void ownSvgRenders() {
        const QString file = path("own.svg");
        writeChartPicture(*window->chart(), file, PictureType::Svg, 100);
        const QString text = QString::fromUtf8(readAll(file));
        for (const QString& t : {kTitle, kLeft, kRight, kBottom}) QVERIFY2(text.contains(t), qPrintable(t));
        checkRenders(file);
    }

    void pdfTextComesBack() {
        const QString file = path("w.pdf");
        writeChartPicture(*window->chart(), file, PictureType::Pdf, 100);
        RUN_READER("pdftotext", (QStringList{file, QStringLiteral("-")}));
        const QString text = QString::fromUtf8(readerOutput);
        QVERIFY2(text.contains(kTitle), qPrintable(text));
        QVERIFY(text.contains(kBottom));
        RUN_READER("pdfinfo", (QStringList{file}));
        const QString info = QString::fromUtf8(readerOutput).simplified();
        QVERIFY2(info.contains(QStringLiteral("Title: ") + kTitle), readerOutput.constData());
        QVERIFY2(info.contains(QStringLiteral("Pages: 1 ")), readerOutput.constData());
        // One page the chart's size, at 72 points per 96 pixels.
        const QString size = QStringLiteral("Page size: %1 x %2 pts")
                                 .arg(window->chart()->width() * 0.75)
                                 .arg(window->chart()->height() * 0.75);
        QVERIFY2(info.contains(size), readerOutput.constData());
    }

    void emfReadBack() {
        const QString file = path("w.emf"), svg = path("emf.svg");
        writeChartPicture(*window->chart(), file, PictureType::Emf, 100);
        RUN_READER("emf2svg-conv", (QStringList{QStringLiteral("-i"), file, QStringLiteral("-o"), svg}));
        const QString text = QString::fromUtf8(readAll(svg));
        // Texts as text records, not a bitmap: the Polish titles come back.
        for (const QString& t : {kTitle, kLeft, kRight, kBottom}) QVERIFY2(text.contains(t), qPrintable(t));
        QVERIFY(!text.contains(QStringLiteral("<image")));
        QVERIFY(text.contains(QStringLiteral("width=\"%1.0000\"").arg(window->chart()->width())));
        checkRenders(svg);
    }

    void wmfReadBack() {
        const QString file = path("w.wmf"), svg = path("wmf.svg");
        writeChartPicture(*window->chart(), file, PictureType::Wmf, 100);
        RUN_READER("wmf2svg", (QStringList{QStringLiteral("-o"), svg, file}));
        // wmf2svg copies text in the font's character set, windows-1250 here,
        // without saying so: the declaration is ours to add.
        QByteArray bytes = readAll(svg);
        QVERIFY(bytes.startsWith("<?xml version=\"1.0\" standalone"));
        const QString text = QString::fromStdString(cp1250ToUtf8(bytes.toStdString()));
        for (const QString& t : {kTitle, kLeft, kRight, kBottom}) QVERIFY2(text.contains(t), qPrintable(t));
        QVERIFY(text.contains(QStringLiteral("<svg width=\"%1\" height=\"%2\"")
                                  .arg(window->chart()->width())
                                  .arg(window->chart()->height())));
        bytes.replace("standalone", "encoding=\"windows-1250\" standalone");
        const QString declared = path("wmf-1250.svg");
        QFile out(declared);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        out.close();
        checkRenders(declared);
    }

    // The headers and records a reader relies on, by the format's rules.
    void wmfStructure() {
        const QByteArray b = chartPictureBytes(*window->chart(), PictureType::Wmf, 100);
        QCOMPARE(dword(b, 0), 0x9AC6CDD7u);
        QCOMPARE(word(b, 10), std::uint16_t(window->chart()->width()));
        QCOMPARE(word(b, 12), std::uint16_t(window->chart()->height()));
        std::uint16_t sum = 0;
        for (int i = 0; i < 20; i += 2) sum ^= word(b, i);
        QCOMPARE(word(b, 20), sum);
        const int header = 22;
        QCOMPARE(word(b, header + 2), std::uint16_t(9));
        QCOMPARE(dword(b, header + 6) * 2, std::uint32_t(b.size() - header));
        // Records chain to the end-of-file record; the largest one and the
        // object count are what the header says; every created object is
        // selected into a slot within the table.
        std::uint32_t largest = 0;
        int at = header + 18, fonts = 0, texts = 0;
        std::uint16_t function = 0xFFFF;
        const std::uint16_t objects = word(b, header + 10);
        while (at < b.size()) {
            const std::uint32_t size = dword(b, at);
            function = word(b, at + 4);
            QVERIFY(size >= 3);
            largest = std::max(largest, size);
            if (function == 0x02FB) {
                ++fonts;
                QCOMPARE(static_cast<unsigned char>(b[at + 6 + 2 * 5 + 3]), 238);  // East European
            }
            if (function == 0x012D) QVERIFY(word(b, at + 6) < objects);
            if (function == 0x0A32) ++texts;
            at += static_cast<int>(size * 2);
        }
        QCOMPARE(at, b.size());
        QCOMPARE(function, std::uint16_t(0));
        QCOMPARE(dword(b, header + 12), largest);
        QVERIFY(fonts > 0);
        QVERIFY(texts > 10);
        // "ś" of the title is its windows-1250 byte.
        QVERIFY(b.contains(QByteArray::fromStdString(utf8ToCp1250(kTitle.toStdString()))));
    }

    // A failure names its cause in Polish, keeps the old file and leaves no
    // temporary file.
    void failures() {
        QTemporaryDir folder;
        const QString missing = folder.filePath(QStringLiteral("brak/w.png"));
        try {
            writeChartPicture(*window->chart(), missing, PictureType::Png, 100);
            QFAIL("a missing folder was accepted");
        } catch (const FileWriteError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(QStringLiteral("folder nie istnieje")), e.what());
        }
        const QString old = folder.filePath(QStringLiteral("stary.emf"));
        QFile f(old);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("stary");
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::ReadGroup));
        try {
            writeChartPicture(*window->chart(), old, PictureType::Emf, 100);
            QFAIL("a read-only file was replaced");
        } catch (const FileWriteError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(QStringLiteral("tylko do odczytu")), e.what());
        }
        QCOMPARE(readAll(old), QByteArray("stary"));
        try {
            writeChartPicture(*window->chart(), folder.path(), PictureType::Bmp, 100);
            QFAIL("a folder was replaced");
        } catch (const FileWriteError& e) {
            QVERIFY(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Nie można zapisać pliku ")));
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("stary.emf")});
    }
};

QTEST_MAIN(ChartPictureTest)
#include "ChartPictureTest.moc"

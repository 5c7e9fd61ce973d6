// The text window: its fixed-pitch font chosen by what the machine's
// families are, with several font sets (not only this machine's), and tab
// stops that keep every column of a text table under its heading.

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTest>

#include "report/FixedPitchFont.h"
#include "report/TfmRichText.h"

using namespace zorv;

namespace {

// A font set: the families a machine has, and those its database reports
// fixed-pitch.
struct FontSet {
    QStringList families;
    QStringList fixed;
    bool isFixed(const QString& f) const { return fixed.contains(f); }
};

}  // namespace

class TextWindowTest : public QObject {
    Q_OBJECT
private slots:
    void fixedPitchFamilies_data() {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("fixed");
        QTest::addColumn<QString>("chosen");
        // Courier New itself, where it is a real fixed-pitch family.
        QTest::newRow("Courier New") << QStringList{"Arial", "Courier New", "DejaVu Sans Mono"}
                                     << QStringList{"Courier New", "DejaVu Sans Mono"}
                                     << QStringLiteral("Courier New");
        // The URW base fonts with Noto: Courier New resolves to Nimbus Mono
        // PS, reported proportional; a known monospace family comes first.
        QTest::newRow("URW and Noto")
            << QStringList{"Nimbus Sans", "Nimbus Mono PS", "Noto Sans", "Noto Sans Mono"} << QStringList{}
            << QStringLiteral("Noto Sans Mono");
        QTest::newRow("URW only") << QStringList{"Nimbus Sans", "Nimbus Mono PS", "C059"} << QStringList{}
                                  << QStringLiteral("Nimbus Mono PS");
        // A name the database has but that is not Courier New's clone.
        QTest::newRow("Courier New listed, not fixed") << QStringList{"Courier New", "Liberation Mono"}
                                                       << QStringList{} << QStringLiteral("Liberation Mono");
        // Nothing known: any family the database reports fixed-pitch.
        QTest::newRow("unknown monospace")
            << QStringList{"Sans", "Terminus"} << QStringList{"Terminus"} << QStringLiteral("Terminus");
        // Nothing at all: the system's fixed font (empty here).
        QTest::newRow("none") << QStringList{"Sans", "Serif"} << QStringList{} << QString();
    }
    void fixedPitchFamilies() {
        QFETCH(QStringList, families);
        QFETCH(QStringList, fixed);
        QFETCH(QString, chosen);
        const FontSet set{families, fixed};
        QCOMPARE(fixedPitchFamily(families, [&](const QString& f) { return set.isFixed(f); }), chosen);
    }

    // A value of eight characters or more ("III 2003") still leaves the next
    // column under its heading: every stop lies past the widest cell before
    // it, and the stops grow.
    void columnsStayUnderTheirHeadings() {
        TfmRichText w;
        w.setLines(
            {"Numer\tOkres\tb\tOpis", "1\tIII 2003 i dalej\t0.95\t", "2\tIV 2003\t1.02\tZa mała próba"});
        const QList<qreal> stops = w.columnStops();
        QCOMPARE(stops.size(), 3);
        const QFontMetricsF m(w.editor()->font());
        QVERIFY(stops[0] > m.horizontalAdvance(QStringLiteral("Numer")));
        QVERIFY(stops[1] - stops[0] > m.horizontalAdvance(QStringLiteral("III 2003 i dalej")));
        QVERIFY(stops[2] - stops[1] >= m.horizontalAdvance(QStringLiteral("1.02")));
        // A report without TABs keeps the uniform steps.
        w.setLines({"  Okres czasu:                      2000-01-01 do 2005-12-31"});
        QVERIFY(w.columnStops().isEmpty());
        // What the window holds is still the lines with their TABs.
        w.setLines({"a\tb"});
        QCOMPARE(w.lines(), (ReportLines{"a\tb"}));
    }
};

QTEST_MAIN(TextWindowTest)
#include "TextWindowTest.moc"

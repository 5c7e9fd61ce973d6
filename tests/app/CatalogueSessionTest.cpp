// The working catalogue apart from its windows: opening, the filter
// sources and their join, the bookmark and closing.

#include <QTest>
#include <stdexcept>

#include "ShellFixture.h"
#include "services/CatalogueSession.h"

using namespace zorv;

class CatalogueSessionTest : public QObject {
    Q_OBJECT
private slots:
    void openAndClose() {
        CatalogueSession s;
        QVERIFY(!s.isOpen());
        s.open(makeCatalogue(6), "k.dbf", true, Locale::comma());
        QVERIFY(s.isOpen());
        QCOMPARE(s.recordCount(), 6);
        QVERIFY(s.table()->readOnly());
        QVERIFY(s.table()->caseInsensitiveFilter());
        QCOMPARE(s.table()->recNo(), std::size_t(1));
        s.buildZones("ODDZIAL", "/", nullptr);
        QCOMPARE(s.zones().zones.size(), std::size_t(3));
        s.setBasePropertiesSet(true);
        s.setBookmark();
        s.sources().ExtraExpression = "X > 0";
        s.close();
        QVERIFY(!s.isOpen() && !s.basePropertiesSet() && s.name().empty());
        QVERIFY(s.zones().empty());
        QVERIFY(!s.bookmark().isSet());
        QVERIFY(s.sources().ExtraExpression.empty());
        QCOMPARE(s.recordCount(), 0);
    }

    void filterSourcesJoin() {
        CatalogueSession s;
        s.open(makeCatalogue(9), "k.dbf", false, Locale::point());
        s.setZoneFilter(zoneTreeZoneFilter("ODDZIAL", "G-1/2"));
        s.sources().ExtraExpression = "ENG > 4000";
        JoinedFilter j = s.applyFilter();
        // Zones 2 of events 2, 5, 8 (energies 2000, 5000, 8000 J).
        QCOMPARE(s.table()->recordCount(), std::size_t(2));
        QVERIFY(!j.description.empty());
        s.setConnective(true);
        j = s.applyFilter();
        QVERIFY(j.expression.find(" OR ") != std::string::npos);
        // Zone 2 or above 4000 J: events 2 and 5 to 9.
        QCOMPARE(s.table()->recordCount(), std::size_t(6));
        // A rejected expression: unfiltered, the failure passes on.
        s.sources().ExtraExpression = "NIEMA > 1";
        QVERIFY_THROWS_EXCEPTION(CatalogueFilterError, s.applyFilter());
        QVERIFY(!s.table()->filtered());
        QCOMPARE(s.table()->recordCount(), std::size_t(9));
        s.clearSources();
        QCOMPARE(s.sources().Connective, std::string(" AND "));
        QVERIFY(s.applyFilter().expression.empty());
        QVERIFY(s.filterDescription().empty());
    }

    void bookmark() {
        CatalogueSession s;
        QCOMPARE(s.gotoBookmark(), CatalogueSession::Jump::NoBookmark);
        s.open(makeCatalogue(5), "k.dbf", false, Locale::point());
        QCOMPARE(s.gotoBookmark(), CatalogueSession::Jump::NoBookmark);
        s.navigate(kLastRecord);
        s.setBookmark();
        s.navigate(kFirstRecord);
        QCOMPARE(s.gotoBookmark(), CatalogueSession::Jump::Done);
        QCOMPARE(s.table()->recNo(), std::size_t(5));
        s.sources().ExtraExpression = "ENG < 3000";
        s.applyFilter();
        QCOMPARE(s.gotoBookmark(), CatalogueSession::Jump::Hidden);
    }

    // Binding a command the table does not know is a mistake in the program.
    void unknownCommandIsRefused() {
        ShellFixture f;
        TfmZorv& w = f.make();
        QVERIFY_THROWS_EXCEPTION(std::logic_error, w.bindCommand(QStringLiteral("mNieMa"), [](int) {}));
        w.bindCommand(QStringLiteral("mHistogram"), [](int) {});
    }
};

QTEST_MAIN(CatalogueSessionTest)
#include "CatalogueSessionTest.moc"
